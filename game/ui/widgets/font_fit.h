// Fitting a widget's font to the box it has, for captions and labels laid out in fixed pixels.
#pragma once

#include <QStringList>

class QAbstractButton;
class QWidget;

namespace kv {

// Installed substitutes for the window font are often wider and taller than it. Lowers
// `widget`'s font in half-point steps, down to 6 pt, until the widest of `lines` fits into
// `width` pixels and, with a positive `height`, all of them one below the other into `height`,
// so that captions are not cut.
void fitFontToBox(QWidget* widget, const QStringList& lines, int width, int height = 0);

// The width a push button's style leaves for its caption.
int buttonTextWidth(const QAbstractButton& button);

// Fits the font of `button` so that each of `captions` (the button's own text when none are
// given) fits its face in one line, with a few pixels of face left on either side. Access-key
// markers are not drawn and so not measured.
void fitButtonCaptions(QAbstractButton* button, QStringList captions = {});

}  // namespace kv
