// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "platform/spinbutton.h"
#include "widgets/importlistctrl.h"
#include "widgets/pointlistctrl.h"

namespace tovik {

// The controls of the main window and where they are: the dialog template's places in
// dialog units, the two views, and the layout when the window is resized, in which the
// lists take the room and the buttons keep their spacing in proportion to the height.
class MainLayout {
public:
    enum class View { edit, import };

    struct Controls {
        QWidget& client;
        QPushButton& exitButton;
        PointListCtrl& editList;
        QPushButton& addButton;
        QPushButton& deleteButton;
        QPushButton& changeButton;
        ImportListCtrl& importList;
        PointListCtrl& targetList;
        QPushButton& transferButton;
        QLineEdit& markField;
        SpinButton& markSpin;
        QCheckBox& markCheck;
    };

    explicit MainLayout(const Controls& controls);

    // Puts the controls at their places of the template, in its tab order, with the names
    // and descriptions a screen reader gives them, and sizes the client area.
    void Place(const QFont& font);
    // The column widths of a list.
    static void SetColumnWidths(ListBase& list);

    View CurrentView() const { return view; }
    void ShowEditView();
    void ShowImportView();
    // Remembers the template's geometry that later layouts keep in proportion.
    void CaptureLayout();
    // Lays the controls out for the client area's new size; the first call, while the
    // window is set up, only arms it.
    void OnSize();
    // The mark field and its up-down control are shown while MARK is ticked.
    void OnMarkCheck();

    // The find field (PointFinder's), which takes a strip above the list of the edited
    // points in the view shown while it is open; the lists keep their bottoms.
    void SetFindField(QWidget& field);
    void ShowFind(bool shown);
    bool FindShown() const { return findShown; }

private:
    void PlaceButton(QWidget& button, const QRect& list, int& y, int offset);
    // The strip the find field takes above a list.
    int FindStrip() const;
    void PlaceFind();
    // Makes or gives back the strip above both lists of the edited points.
    void ShiftBookLists(bool down);

    Controls c;
    View view = View::edit;
    std::array<int, 4> buttonSpacing{};
    int initialClientHeight = 0;
    bool layoutReady = false;
    int listTop = 0;
    int listLeft = 0;
    int bottomMargin = 0;
    int rightMargin = 0;
    int listButtonGap = 0;
    QWidget* findField = nullptr;
    bool findShown = false;
    int findGap = 0;
    std::array<int, 2> findShifts{};
};

}  // namespace tovik
