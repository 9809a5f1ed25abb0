#pragma once
// Anything a background bitmap can be tiled over: a screen or a picture
// box. The tilers reach their target only through these four members.

#include <QImage>
#include <QString>

namespace gv {

class Alvo_Pintura {
public:
    virtual ~Alvo_Pintura() = default;
    // Inner drawing area in pixels.
    virtual int ScaleWidth() const = 0;
    virtual int ScaleHeight() const = 0;
    // Draws the whole bitmap, natural size, with its top-left corner at (x, y).
    virtual void PaintPicture(const QImage& imagem, int x, int y) = 0;
    // The target's name, as error messages show it.
    virtual QString Name() const = 0;
};

} // namespace gv
