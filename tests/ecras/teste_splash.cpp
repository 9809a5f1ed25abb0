#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "ambiente_qt.h"
#include "startup/frmsplash.h"
#include "startup/servicos_ecra.h"

namespace gv {
namespace {

TEST(FrmSplash, VersaoTituloImagensEPosicao) {
    FrmSplash& s = instancia<FrmSplash>();
    auto* label2 = s.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* label1 = s.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label1, nullptr);
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->text(), "99.6");
    EXPECT_TRUE(label1->text().startsWith("Golvantario 99"));
    for (const char* nome : {"Image1", "Image2", "Image3", "Image4"}) {
        auto* img = s.findChild<QLabel*>(QString::fromLatin1(nome));
        ASSERT_NE(img, nullptr) << nome;
        EXPECT_FALSE(img->pixmap().isNull()) << nome;
    }
    auto* timer = s.findChild<QTimer*>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(timer->isActive());

    const QRect d = QGuiApplication::primaryScreen()->geometry();
    const Ponto_Ecra p = posicao_centrada(d.width(), d.height(), s.width(), s.height());
    EXPECT_EQ(s.pos(), QPoint(d.x() + p.x, d.y() + p.y));
    s.Unload();
    teste::apagar_pendentes();
}

TEST(FrmSplash, FechaSozinhoAoFimDeTresSegundos) {
    QElapsedTimer t;
    t.start();
    FrmSplash& s = instancia<FrmSplash>();
    QPointer<FrmSplash> guarda(&s);
    bool modal_visivel = false;
    QTimer::singleShot(200, [&] { modal_visivel = guarda && guarda->isVisible() && guarda->mostrado_modal(); });
    s.Show_Modal();
    const qint64 ms = t.elapsed();
    EXPECT_TRUE(modal_visivel);
    EXPECT_GE(ms, 2500);
    EXPECT_LE(ms, 6000);
    EXPECT_FALSE(carregado<FrmSplash>());
    teste::apagar_pendentes();
    EXPECT_TRUE(guarda.isNull());
}

} // namespace
} // namespace gv
