#include <gtest/gtest.h>

#include <QTimer>

#include <string>

#include "ambiente_qt.h"
#include "platform/qt/ecra.h"
#include "platform/qt/navegacao.h"

namespace gv {
namespace {

// ---- One default instance per screen, load and unload handlers ----

class EcraContado : public Ecra {
public:
    static inline int cargas = 0, descargas = 0;
    static inline bool recusar_fecho = false;
    EcraContado() : Ecra(QStringLiteral("EcraContado")) { resize(200, 100); }
protected:
    void Form_Load() override {
        ++cargas;
        EXPECT_EQ(&instancia<EcraContado>(), this);   // referring to itself while loading
    }
    void Form_Unload() override {
        ++descargas;
        Unload();   // unloading again from inside the handler does nothing
    }
    bool Form_QueryUnload() override { return !recusar_fecho; }
};

// Every test leaves as many screens alive as it found.
struct Ecras_Contados : ::testing::Test {
    void SetUp() override {
        EcraContado::cargas = EcraContado::descargas = 0;
        EcraContado::recusar_fecho = false;
        vivos = Ecra::ecras_vivos();
    }
    void TearDown() override {
        descarregar<EcraContado>();
        teste::apagar_pendentes();
        EXPECT_EQ(Ecra::ecras_vivos(), vivos);
        EXPECT_FALSE(Navegacao::a_correr());
    }
    int vivos = 0;
};
using Instancias = Ecras_Contados;
using Cadeia = Ecras_Contados;

TEST_F(Instancias, LoadedOnFirstReferenceAndUnloadingReleasesIt) {
    EXPECT_FALSE(carregado<EcraContado>());
    EcraContado& a = instancia<EcraContado>();
    EXPECT_EQ(&a, &instancia<EcraContado>());
    EXPECT_EQ(a.objectName(), "EcraContado");
    QPointer<EcraContado> antigo(&a);
    a.Unload();
    a.Unload();
    EXPECT_FALSE(carregado<EcraContado>() || a.isVisible());
    EXPECT_EQ(std::pair(EcraContado::cargas, EcraContado::descargas), std::pair(1, 1));
    // The next reference is a fresh instance, loaded again; descarregar<T> never loads.
    EcraContado& c = instancia<EcraContado>();
    teste::apagar_pendentes();
    EXPECT_TRUE(antigo.isNull());
    EXPECT_EQ(&instancia<EcraContado>(), &c);
    descarregar<EcraContado>();
    descarregar<EcraContado>();
    EXPECT_EQ(std::pair(EcraContado::cargas, EcraContado::descargas), std::pair(2, 2));
}

TEST_F(Instancias, AModalShowReturnsWhenTheScreenHidesOrUnloadsItself) {
    for (bool descarrega : {false, true}) {
        EcraContado& e = instancia<EcraContado>();
        QPointer<EcraContado> guarda(&e);
        int profundidade = 0;
        QTimer::singleShot(0, &e, [&] {
            profundidade = Ecra::profundidade_modal();
            descarrega ? e.Unload() : e.Hide();
        });
        e.Show_Modal();
        EXPECT_EQ(std::pair(profundidade, Ecra::profundidade_modal()), std::pair(1, 0));
        EXPECT_EQ(std::pair(carregado<EcraContado>(), EcraContado::descargas), std::pair(!descarrega, descarrega ? 1 : 0));
        teste::apagar_pendentes();
        ASSERT_EQ(guarda.isNull(), descarrega);
        EXPECT_TRUE(descarrega || !(guarda->isVisible() || guarda->mostrado_modal()));
    }
}

// A screen that closes itself hands the keyboard back to the one that
// opened it (the desk's shortcuts work again).
TEST_F(Instancias, TheKeyboardGoesBackToTheScreenThatOpenedIt) {
    Ecra chamador(QStringLiteral("Chamador"));
    chamador.resize(300, 200);
    chamador.show();
    chamador.activateWindow();
    ASSERT_TRUE(teste::esperar_ate([&] { return QApplication::activeWindow() == &chamador; }, 2000));
    QWidget* activa_durante = nullptr;
    QTimer::singleShot(50, [&] {
        activa_durante = QApplication::activeWindow();
        descarregar<EcraContado>();   // closes itself, as the bank after a repayment
    });
    instancia<EcraContado>().Show_Modal();
    EXPECT_NE(activa_durante, &chamador);
    EXPECT_TRUE(teste::esperar_ate([&] { return QApplication::activeWindow() == &chamador; }, 2000));
}

TEST_F(Instancias, ClosingTheWindowUnloadsItUnlessRefused) {
    EcraContado& e = instancia<EcraContado>();
    EcraContado::recusar_fecho = true;
    bool ficou_aberto = false;
    QTimer::singleShot(0, &e, [&e, &ficou_aberto] {
        e.close();
        ficou_aberto = e.isVisible() && e.mostrado_modal();
        EcraContado::recusar_fecho = false;
        e.close();
    });
    e.Show_Modal();
    EXPECT_TRUE(ficou_aberto);
    EXPECT_EQ(EcraContado::descargas, 1);
    EXPECT_FALSE(carregado<EcraContado>());
}

// ---- The flat chain of screens ----

std::string ordem;
int maior_profundidade = 0, maior_vivos = 0, passagens_pedidas = 0;

// Notes its letter and, while passages are asked for, names the other
// screen; then unloads. 'P' does it while loading, before it is ever
// shown; the others from the event loop, as a button would. 'T' names a
// successor and then ends the program's chain.
template <char Nome>
class Elo : public Ecra {
public:
    Elo() : Ecra(QString(QLatin1Char(Nome))) {}
protected:
    void Form_Load() override {
        if (Nome == 'P') return passar();
        QTimer::singleShot(0, this, [this] { passar(); });
    }
    void passar() {
        ordem += Nome;
        maior_profundidade = std::max(maior_profundidade, Ecra::profundidade_modal());
        maior_vivos = std::max(maior_vivos, Ecra::ecras_vivos());
        if (Nome == 'T') {
            Navegacao::passar_para<Elo<'A'>>();
            Navegacao::parar();
            Navegacao::passar_para<Elo<'B'>>();   // ignored once stopped
            return Hide();
        }
        if (passagens_pedidas-- > 0) Navegacao::passar_para<Elo<Nome == 'A' ? 'B' : 'A'>>();
        Unload();
    }
};

TEST_F(Cadeia, ManyPassagesInOrderWithoutNestingOrPilingUpScreens) {
    passagens_pedidas = 300;
    ordem.clear();
    Navegacao::executar<Elo<'A'>>();
    ASSERT_EQ(ordem.size(), 301u);
    for (std::size_t i = 0; i < ordem.size(); ++i) ASSERT_EQ(ordem[i], i % 2 == 0 ? 'A' : 'B') << i;
    EXPECT_EQ(std::pair(maior_profundidade, Ecra::profundidade_modal()), std::pair(1, 0));
    EXPECT_LE(maior_vivos - vivos, 3);   // unloaded screens are deleted as the chain goes on
    EXPECT_FALSE(carregado<Elo<'A'>>() || carregado<Elo<'B'>>());
}

TEST_F(Cadeia, AHandOverWhileLoadingStoppingAndAHandOverWithoutAChain) {
    for (auto [primeiro, passagens, esperada] : {std::tuple{'P', 2, "PAB"}, {'T', 5, "T"}, {'B', 2, "BAB"}}) {
        ordem.clear();
        maior_profundidade = 0;
        passagens_pedidas = passagens;
        if (primeiro == 'P') Navegacao::executar<Elo<'P'>>();
        if (primeiro == 'T') Navegacao::executar<Elo<'T'>>();
        if (primeiro == 'B') {
            // Named while no chain runs: a chain starts from the event loop.
            Navegacao::passar_para<Elo<'B'>>();
            EXPECT_TRUE(ordem.empty());
            ASSERT_TRUE(teste::esperar_ate([] { return ordem.size() == 3u && !Navegacao::a_correr(); }, 3000));
        }
        EXPECT_EQ(ordem, esperada);
        EXPECT_EQ(maior_profundidade, 1);
        EXPECT_FALSE(Navegacao::seguinte_pedido() || carregado<Elo<'A'>>());
        descarregar<Elo<'T'>>();
    }
}

} // namespace
} // namespace gv
