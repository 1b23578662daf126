// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QIcon>

namespace tovik {

// The version information box.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(const QIcon& icon, QWidget* parent = nullptr);
};

}  // namespace tovik
