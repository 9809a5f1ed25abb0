#include "startup/bandeiras.h"

#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace gv {

namespace {

void faixas_verticais(QPainter& p, int w, int h, std::initializer_list<std::pair<double, QColor>> faixas) {
    double x = 0;
    for (auto [parte, cor] : faixas) {
        p.fillRect(QRectF(x, 0, w * parte, h), cor);
        x += w * parte;
    }
}

} // namespace

QPixmap bandeira(const char* c, int w, int h) {
    QPixmap px(w, h);
    px.fill(Qt::white);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    if (!std::strcmp(c, "pt")) {
        faixas_verticais(p, w, h, {{0.4, QColor(0, 102, 0)}, {0.6, QColor(204, 0, 0)}});
        p.setPen(QPen(QColor(255, 204, 0), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(w * 0.4, h / 2.0), h * 0.22, h * 0.22);
    } else if (!std::strcmp(c, "br")) {
        p.fillRect(px.rect(), QColor(0, 148, 64));
        QPolygonF losango{{w / 2.0, 2.0}, {w - 3.0, h / 2.0}, {w / 2.0, h - 2.0}, {3.0, h / 2.0}};
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(254, 221, 0));
        p.drawPolygon(losango);
        p.setBrush(QColor(0, 39, 118));
        p.drawEllipse(QPointF(w / 2.0, h / 2.0), h * 0.22, h * 0.22);
    } else if (!std::strcmp(c, "en")) {
        p.fillRect(QRectF(w / 2.0 - 2.5, 0, 5, h), QColor(206, 17, 36));
        p.fillRect(QRectF(0, h / 2.0 - 2.5, w, 5), QColor(206, 17, 36));
    } else if (!std::strcmp(c, "uk")) {
        p.fillRect(px.rect(), QColor(1, 33, 105));
        p.setPen(QPen(Qt::white, 4));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.setPen(QPen(QColor(200, 16, 46), 1.5));
        p.drawLine(0, 0, w, h);
        p.drawLine(0, h, w, 0);
        p.fillRect(QRectF(w / 2.0 - 4, 0, 8, h), Qt::white);
        p.fillRect(QRectF(0, h / 2.0 - 4, w, 8), Qt::white);
        p.fillRect(QRectF(w / 2.0 - 2.5, 0, 5, h), QColor(200, 16, 46));
        p.fillRect(QRectF(0, h / 2.0 - 2.5, w, 5), QColor(200, 16, 46));
    } else if (!std::strcmp(c, "es")) {
        p.fillRect(QRectF(0, 0, w, h), QColor(170, 21, 27));
        p.fillRect(QRectF(0, h / 4.0, w, h / 2.0), QColor(241, 191, 0));
    } else if (!std::strcmp(c, "it")) {
        faixas_verticais(p, w, h, {{1 / 3.0, QColor(0, 146, 70)}, {1 / 3.0, Qt::white}, {1 / 3.0, QColor(206, 43, 55)}});
    } else {
        // The world: a blue globe with meridians.
        p.fillRect(px.rect(), QColor(235, 242, 250));
        const QPointF centro(w / 2.0, h / 2.0);
        const double r = h * 0.42;
        p.setPen(QPen(QColor(20, 60, 140), 1.2));
        p.setBrush(QColor(70, 130, 200));
        p.drawEllipse(centro, r, r);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centro, r * 0.45, r);
        p.drawLine(QPointF(centro.x() - r, centro.y()), QPointF(centro.x() + r, centro.y()));
        p.drawLine(QPointF(centro.x(), centro.y() - r), QPointF(centro.x(), centro.y() + r));
    }
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return px;
}

} // namespace gv
