#include "platform/qt/caixa_imagem.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

namespace gv {

namespace {

QPainter::CompositionMode modo(CaixaImagem::Caneta c) {
    return c == CaixaImagem::Caneta::Nao_Xor ? QPainter::RasterOp_NotSourceXorDestination
                                             : QPainter::CompositionMode_SourceOver;
}

} // namespace

CaixaImagem::CaixaImagem(QWidget* pai, const QString& nome) : QWidget(pai) {
    setObjectName(nome);
    QFont f = font();
    f.setStyleStrategy(QFont::NoAntialias);
    setFont(f);
    imagem_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    imagem_.fill(fundo_);
}

const QImage& CaixaImagem::imagem() const {
    acertar_tamanho();
    return imagem_;
}

void CaixaImagem::acertar_tamanho() const {
    const QSize novo = size().expandedTo(QSize(1, 1));
    if (novo == imagem_.size()) return;
    QImage nova(novo, QImage::Format_RGB32);
    nova.fill(fundo_);
    {
        QPainter p(&nova);
        p.drawImage(0, 0, imagem_);
    }
    imagem_ = std::move(nova);
}

void CaixaImagem::set_BackColor(const QColor& c) {
    fundo_ = c;
    Cls();
}

void CaixaImagem::Cls() {
    acertar_tamanho();
    imagem_.fill(fundo_);
    if (!picture_.isNull()) {
        QPainter p(&imagem_);
        p.drawImage(0, 0, picture_);
    }
    x_ = 0;
    y_ = 0;
    update();
}

void CaixaImagem::Line_BF(int x1, int y1, int x2, int y2, const QColor& cor) {
    const QRect caixa(QPoint(std::min(x1, x2), std::min(y1, y2)),
                      QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
    if (caixa.isEmpty()) return;
    acertar_tamanho();
    QPainter p(&imagem_);
    p.setCompositionMode(modo(caneta_));
    p.fillRect(caixa, cor);
    update();
}

int CaixaImagem::TextWidth(const QString& texto) const {
    return QFontMetrics(font()).horizontalAdvance(texto);
}

int CaixaImagem::TextHeight(const QString& texto) const {
    const int linhas = static_cast<int>(texto.count(QLatin1Char('\n'))) + 1;
    return QFontMetrics(font()).height() * linhas;
}

void CaixaImagem::Print(const QString& texto) {
    QFontMetrics fm(font());
    acertar_tamanho();
    QPainter p(&imagem_);
    p.setCompositionMode(modo(caneta_));
    p.setFont(font());
    p.setPen(frente_);
    int y = y_;
    for (const QString& linha : texto.split(QLatin1Char('\n'))) {
        p.drawText(x_, y + fm.ascent(), linha);
        y += fm.height();
    }
    x_ = 0;
    y_ = y;
    update();
}

void CaixaImagem::PaintPicture(const QImage& imagem, int x, int y) {
    acertar_tamanho();
    QPainter p(&imagem_);
    p.setCompositionMode(modo(caneta_));
    p.drawImage(x, y, imagem);
    update();
}

void CaixaImagem::Refresh() { repaint(); }

void CaixaImagem::set_Picture(const QImage& imagem) {
    picture_ = imagem;
    if (auto_size_) ajustar_ao_picture();
    Cls();
}

void CaixaImagem::set_AutoSize(bool ligado) {
    auto_size_ = ligado;
    if (auto_size_) ajustar_ao_picture();
}

void CaixaImagem::ajustar_ao_picture() {
    if (!picture_.isNull()) resize(picture_.size());
}

void CaixaImagem::paintEvent(QPaintEvent*) {
    acertar_tamanho();
    QPainter p(this);
    p.drawImage(0, 0, imagem_);
}

void CaixaImagem::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    acertar_tamanho();
    // Also on the first show, when the pending resize keeps the size.
    emit Paint();
}

} // namespace gv
