#pragma once
// A picture box: a widget that draws into its own image, which keeps the
// drawing between repaints. Fore and back colours, a pen mode (copy or
// not-xor), filled boxes, text printed at a position, bitmaps drawn at a
// point, and an optional picture under the drawing that the box can take
// the size of.
//
// Coordinates are pixels from the top-left corner. A filled box from
// (x1, y1) to (x2, y2) covers the pixels from the nearer corner up to, not
// including, the farther one. Text is drawn without anti-aliasing, so every
// text pixel is exactly the fore colour.

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <string>

#include "platform/qt/alvo_pintura.h"

namespace gv {

class CaixaImagem : public QWidget, public Alvo_Pintura {
    Q_OBJECT
public:
    enum class Caneta { Nao_Xor = 10, Copiar = 13 };

    explicit CaixaImagem(QWidget* pai = nullptr, const QString& nome = {});

    QColor ForeColor() const { return frente_; }
    void set_ForeColor(const QColor& c) { frente_ = c; }
    QColor BackColor() const { return fundo_; }
    // Like the old control: a new back colour wipes the drawing (Cls).
    void set_BackColor(const QColor& c);

    Caneta DrawMode() const { return caneta_; }
    void set_DrawMode(Caneta c) { caneta_ = c; }

    // Wipes the drawing to the back colour and the picture; text position
    // back to (0, 0).
    void Cls();
    // Filled box in colour `cor` under the current pen mode.
    void Line_BF(int x1, int y1, int x2, int y2, const QColor& cor);

    int TextWidth(const QString& texto) const;
    int TextHeight(const QString& texto) const;
    int CurrentX() const { return x_; }
    int CurrentY() const { return y_; }
    void set_CurrentX(int x) { x_ = x; }
    void set_CurrentY(int y) { y_ = y; }
    // Prints at the text position in the fore colour (transparent
    // background); the position then moves to the start of the next line.
    void Print(const QString& texto);
    void Print(const std::string& texto) { Print(QString::fromStdString(texto)); }

    // Alvo_Pintura
    int ScaleWidth() const override { return width(); }
    int ScaleHeight() const override { return height(); }
    void PaintPicture(const QImage& imagem, int x, int y) override;
    QString Name() const override { return objectName(); }

    // Shows the drawing now.
    void Refresh();

    // The picture under the drawing (drawn at (0, 0) by every Cls).
    const QImage& Picture() const { return picture_; }
    void set_Picture(const QImage& imagem);
    bool AutoSize() const { return auto_size_; }
    // On: the box takes the size of its picture (now and on every new picture).
    void set_AutoSize(bool ligado);

    // The drawing itself, in Format_RGB32, always the box's size.
    const QImage& imagem() const;

signals:
    // The drawing surface is new (first show or a resize) and its owner
    // should draw again; the old drawing is kept in the top-left corner.
    void Paint();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void ajustar_ao_picture();
    // Brings the drawing to the box's size (a hidden box gets its resize
    // event only when shown), keeping what is drawn in the top-left corner.
    void acertar_tamanho() const;

    mutable QImage imagem_;
    QImage picture_;
    QColor frente_{0, 0, 0};
    QColor fundo_{255, 255, 255};
    Caneta caneta_ = Caneta::Copiar;
    bool auto_size_ = false;
    int x_ = 0;
    int y_ = 0;
};

} // namespace gv
