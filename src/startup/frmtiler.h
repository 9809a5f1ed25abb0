#pragma once
// The two hidden tiler screens. Each keeps its own tile bitmap in its
// picture box `picHidden` and paints it repeatedly over a target:
// frmTiler's over a screen's background (TileForm, from the screen's
// repaint), frmTiler0's over the main window's picture box (TilePicture).
// Both screens carry both procedures; only the bitmap differs.

#include <QImage>

#include "platform/qt/ecra.h"

namespace gv {

class CaixaImagem;

class Tiler_Base : public Ecra {
    Q_OBJECT
public:
    // Tiles this screen's bitmap over the target. Returns false at once
    // (painting nothing) while a call of the same procedure is running, and
    // false after reporting an error in a message box.
    bool TileForm(Alvo_Pintura& frm);
    bool TilePicture(Alvo_Pintura& pic);

    CaixaImagem& picHidden() { return *picHidden_; }

protected:
    Tiler_Base(const QString& nome, const QImage& tile);

private:
    bool mosaico(Alvo_Pintura& alvo, bool& ocupado);

    CaixaImagem* picHidden_;
    bool ocupado_form_ = false;
    bool ocupado_picture_ = false;
};

// Light pitch green: the background of the game's screens.
class frmTiler : public Tiler_Base {
    Q_OBJECT
public:
    frmTiler();
};

// Dark green: the main window's background.
class frmTiler0 : public Tiler_Base {
    Q_OBJECT
public:
    frmTiler0();
};

// The two tile bitmaps, drawn in code.
QImage tile_relvado();
QImage tile_relvado_escuro();

} // namespace gv
