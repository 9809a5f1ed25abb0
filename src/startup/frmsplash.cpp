#include "startup/frmsplash.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>
#include <numbers>

#include "data/estado.h"
#include "startup/servicos_ecra_qt.h"

namespace gv {

namespace {

constexpr int LADO = 56;

QPixmap nova_imagem() {
    QPixmap p(LADO, LADO);
    p.fill(Qt::transparent);
    return p;
}

// A football: white ball, dark pentagon in the middle, seams to the edge.
QPixmap bola() {
    QPixmap px = nova_imagem();
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(LADO / 2.0, LADO / 2.0);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 24, 24);
    QPolygonF pent;
    for (int i = 0; i < 5; ++i) {
        const double a = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        pent << c + QPointF(9 * std::cos(a), 9 * std::sin(a));
    }
    p.setBrush(QColor(30, 30, 30));
    p.drawPolygon(pent);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    for (const QPointF& v : pent) p.drawLine(v, c + (v - c) * 2.6);
    return px;
}

// A trophy cup on a plinth.
QPixmap taca() {
    QPixmap px = nova_imagem();
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ouro(222, 178, 40), sombra(160, 120, 20);
    p.setPen(QPen(sombra, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 10, 14, 16), 90 * 16, 180 * 16);
    p.drawArc(QRectF(36, 10, 14, 16), -90 * 16, 180 * 16);
    QPainterPath copa;
    copa.moveTo(13, 8);
    copa.lineTo(43, 8);
    copa.cubicTo(43, 28, 34, 34, 28, 34);
    copa.cubicTo(22, 34, 13, 28, 13, 8);
    p.setPen(QPen(sombra, 1.5));
    p.setBrush(ouro);
    p.drawPath(copa);
    p.drawRect(QRectF(25, 34, 6, 8));
    p.setBrush(QColor(110, 70, 30));
    p.drawRect(QRectF(16, 42, 24, 8));
    return px;
}

// A shirt with a number.
QPixmap camisola() {
    QPixmap px = nova_imagem();
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF forma;
    forma << QPointF(18, 6) << QPointF(24, 10) << QPointF(32, 10) << QPointF(38, 6) << QPointF(52, 16)
          << QPointF(46, 24) << QPointF(41, 21) << QPointF(41, 50) << QPointF(15, 50) << QPointF(15, 21)
          << QPointF(10, 24) << QPointF(4, 16);
    p.setPen(QPen(QColor(120, 0, 0), 1.5));
    p.setBrush(QColor(200, 30, 40));
    p.drawPolygon(forma);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(16);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(15, 18, 26, 28), Qt::AlignCenter, QStringLiteral("9"));
    return px;
}

// A goal: posts, crossbar and net.
QPixmap baliza() {
    QPixmap px = nova_imagem();
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (int x = 8; x <= 48; x += 5) p.drawLine(x, 14, x, 46);
    for (int y = 14; y <= 46; y += 5) p.drawLine(6, y, 50, y);
    p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(6, 46, 6, 12);
    p.drawLine(6, 12, 50, 12);
    p.drawLine(50, 12, 50, 46);
    p.setPen(QPen(QColor(40, 120, 40), 3));
    p.drawLine(0, 48, LADO, 48);
    return px;
}

QLabel* imagem(QWidget* pai, const char* nome, const QPixmap& px, int x, int y) {
    auto* l = new QLabel(pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setPixmap(px);
    l->setGeometry(x, y, LADO, LADO);
    return l;
}

} // namespace

int& FrmSplash::duracao_ms() {
    static int ms = 3000;
    return ms;
}

FrmSplash::FrmSplash() : Ecra(QStringLiteral("FrmSplash")) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("Golvantario 99"));
    setFixedSize(480, 300);

    Label1 = new QLabel(QStringLiteral("Golvantario 99\nFootball Manager"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont f = Label1->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 8);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    Label1->setGeometry(20, 92, 440, 90);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignCenter);
    QFont fv = Label2->font();
    fv.setPointSize(fv.pointSize() + 4);
    Label2->setFont(fv);
    Label2->setStyleSheet(QStringLiteral("color: rgb(255, 230, 140);"));
    Label2->setGeometry(20, 186, 440, 30);

    Image1 = imagem(this, "Image1", bola(), 40, 226);
    Image2 = imagem(this, "Image2", baliza(), 157, 226);
    Image3 = imagem(this, "Image3", camisola(), 267, 226);
    Image4 = imagem(this, "Image4", taca(), 384, 226);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(duracao_ms());
    connect(Timer1, &QTimer::timeout, this, [this] { Unload(); });
}

QString FrmSplash::texto_versao() {
    return QString::number(VERSAO_MAIOR) + QLatin1Char('.') + QString::number(VERSAO_REVISAO);
}

void FrmSplash::Form_Load() {
    Centrar_Form(*this);
    Label2->setText(texto_versao());
    Timer1->start();
}

void FrmSplash::Form_Paint() {
    QPainter& p = *pintor();
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(16, 60, 30));
    g.setColorAt(1, QColor(40, 120, 56));
    p.fillRect(rect(), g);
    // The halfway line and centre circle of a pitch, faintly.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 50), 2));
    p.drawLine(width() / 2, 0, width() / 2, height());
    p.drawEllipse(QPointF(width() / 2.0, height() / 2.0), 70, 70);
    p.setPen(QPen(QColor(255, 255, 255, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

} // namespace gv
