#pragma once
// infinstall speaks German whatever the desktop's language: Qt's own texts too (the folder
// chooser, the edit fields' menus, standard buttons), from Qt's translations where the system
// has them (Debian: qt6-translations-l10n). Call once the application exists.
namespace infinstall {

void useGermanQtTexts();

}  // namespace infinstall
