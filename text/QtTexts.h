#pragma once

// Qt's own texts in the app's language: the standard buttons ("打开", "取消") and labels of the dialogs Qt
// draws itself, Qt Quick's file dialog among them where the desktop has no chooser of its own.
namespace Text {

// Installs on the application Qt's tables for the current language (Debian's qt6-translations-l10n under
// Qt's translations folder: qtbase and qtdeclarative, Simplified for zh-Hans, Traditional for zh-HK and
// zh-TW) and, above them, the few texts of Qt Quick's file dialog that Qt 6.4's tables lack, from the app's
// own tables. Called again, it puts the current language's in place of those it installed before; English
// needs none of Qt's. Call it once the application object is made, before the first window.
void installQtTexts();

} // namespace Text
