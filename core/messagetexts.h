// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The texts the user reads, shared by the editor and the command line (UTF-8 here;
// the editor shows them as they stand).
namespace tovik::messages {

inline constexpr const char* kUnrecognisedFormat = "認識できないフォーマットです。";
inline constexpr const char* kFileNotFound = "ファイルが見つかりませんでした。";
inline constexpr const char* kAccessDenied = "ファイル アクセス禁止";
inline constexpr const char* kSharingViolation = "ファイルの共有違反です";
inline constexpr const char* kReadFailed = "読み込みに失敗しました。";
inline constexpr const char* kWriteFailed = "書き込みに失敗しました。";
inline constexpr const char* kNotRegularFile = "通常のファイルではありません（パイプ、デバイス、フォルダーなど）。";
inline constexpr const char* kLinkLoop = "シンボリックリンクが循環しています。";
inline constexpr const char* kNameTooLong = "ファイル名が長すぎます。";
inline constexpr const char* kTooManyPoints = "１００地点以上は登録出来ません。";
// %1 is the field's limit in bytes.
inline constexpr const char* kTooLong = "%1 文字以内で入力してください。";
// %1 is the character that the device's character set cannot hold.
inline constexpr const char* kUnencodable = "「%1」は本体に保存できない文字です。";
// %1 the character, %2 a form of it that the device can hold.
inline constexpr const char* kUnencodableWithSuggestion = "「%1」は本体に保存できない文字です。「%2」なら保存できます。";
// %1 the field's caption, %2 an example of the form, %3 the largest degree.
inline constexpr const char* kCoordinateForm =
    "%1は「%2」（度.分.秒.ミリ秒、%3 度まで）の形で入力してください。";
inline constexpr const char* kTelephoneTooLong = "電話番号は数字 10 桁までしか本体に保存できません。";
inline constexpr const char* kControlCharacter = "制御文字は本体に保存できません。";
// %1 is the file's name.
inline constexpr const char* kNotMemFile = "「%1」は .mem ファイルではないため開けません。";
// %1 is the file's name: a file dropped on the import list in none of the forms it reads.
inline constexpr const char* kNotImportFile =
    "「%1」は取りこめる形式（.mem、GPX、KML、KMZ、CSV、GeoJSON）のファイルではありません。";

}  // namespace tovik::messages
