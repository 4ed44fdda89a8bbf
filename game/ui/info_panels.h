// The two read-only text panels that lie over the board: the rules and the information.
#pragma once

#include <QString>
#include <QStringList>

class QTextEdit;
class QWidget;

namespace kv {

// The texts line by line; each panel shows its lines joined by line breaks, with one more line
// break at the end.
QStringList rulesLines();
QStringList informationLines();

// Created hidden, at their places on `window`, above every control made before them.
QTextEdit* makeRulesPanel(QWidget* window);
QTextEdit* makeInformationPanel(QWidget* window);

// Hides `other`, then shows `panel` if it was hidden and hides it if it was shown.
void togglePanel(QWidget* panel, QWidget* other);

}  // namespace kv
