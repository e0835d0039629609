#pragma once

// Makes Qt's own texts speak Chinese: the buttons of message boxes and the colour dialog, the file
// dialogs and their overwrite question. Loads Qt's Simplified Chinese translations (qtbase_zh_CN,
// Debian package qt6-translations-l10n) from Qt's translations folder, and over them the standard
// button texts as the program says them: "是", "否", "取消", "确定" (these four also when Qt's
// translations are missing). Call once, after the QApplication is made and before any window.
// Returns whether Qt's translations were found.
bool InstallChineseInterface();
