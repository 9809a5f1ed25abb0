#pragma once
// The main window: a picture box filling it, tiled with the dark pitch,
// the contact line, and the timer that brings the arrow pointer back.
// Its load shows the splash and then runs the chain of screens from the
// entry screen.

#include <QSize>

#include "platform/qt/ecra.h"

class QLabel;
class QTimer;

namespace gv {

class CaixaImagem;

class MDIForm1 : public Ecra {
    Q_OBJECT
public:
    MDIForm1();
    ~MDIForm1() override;
    // The window's size on a display that holds it (on a smaller one it
    // takes nine tenths of the display); the desk fits inside it.
    static constexpr QSize Tamanho{1024, 720};

protected:
    // Screens shown, moved or hidden over the main window.
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;

private:
    void arranque();
    void Picture1_Paint();
    void colocar_contacto();

    CaixaImagem* Picture1;
    QTimer* Timer1;
    QLabel* Label4;
    QLabel* Label3;
};

} // namespace gv
