#pragma once

#include <QByteArray>
#include <QImage>

// The program's icon, a page with lines of text and the letter Q, kept as one drawing so the
// window, the About box and the desktop's launcher show the same picture at every size.

// The drawing at `size` × `size` pixels on a transparent ground.
QImage ApplicationIconImage(int size);

// The same drawing as a scalable SVG document.
QByteArray ApplicationIconSvg();
