#include <gtest/gtest.h>

#include <QTimer>

#include <string>
#include <vector>

#include "ambiente_qt.h"
#include "platform/qt/ecra.h"
#include "platform/qt/navegacao.h"

namespace gv {
namespace {

// ---- One default instance per screen, load and unload handlers ----

struct Contagem {
    int cargas = 0;
    int descargas = 0;
};

class EcraContado : public Ecra {
public:
    static inline Contagem c;
    static inline bool recusar_fecho = false;
    EcraContado() : Ecra(QStringLiteral("EcraContado")) { resize(200, 100); }
protected:
    void Form_Load() override {
        ++c.cargas;
        // Referring to itself while loading finds the same instance.
        EXPECT_EQ(&instancia<EcraContado>(), this);
    }
    void Form_Unload() override {
        ++c.descargas;
        Unload();   // unloading again from inside the handler does nothing
    }
    bool Form_QueryUnload() override { return !recusar_fecho; }
};

struct Instancias : ::testing::Test {
    void SetUp() override {
        EcraContado::c = {};
        EcraContado::recusar_fecho = false;
        vivos = Ecra::ecras_vivos();
    }
    void TearDown() override {
        descarregar<EcraContado>();
        teste::apagar_pendentes();
        EXPECT_EQ(Ecra::ecras_vivos(), vivos);
    }
    int vivos = 0;
};

TEST_F(Instancias, CarregaNaPrimeiraReferenciaEDescarregarLiberta) {
    EXPECT_FALSE(carregado<EcraContado>());
    EcraContado& a = instancia<EcraContado>();
    EcraContado& b = instancia<EcraContado>();
    EXPECT_EQ(&a, &b);
    EXPECT_EQ(EcraContado::c.cargas, 1);
    EXPECT_TRUE(carregado<EcraContado>());
    EXPECT_EQ(a.objectName(), "EcraContado");

    QPointer<EcraContado> antigo(&a);
    a.Unload();
    a.Unload();
    EXPECT_EQ(EcraContado::c.descargas, 1);
    EXPECT_FALSE(carregado<EcraContado>());
    EXPECT_FALSE(a.isVisible());

    // The next reference is a fresh instance, loaded again.
    EcraContado& c = instancia<EcraContado>();
    EXPECT_EQ(EcraContado::c.cargas, 2);
    EXPECT_TRUE(carregado<EcraContado>());
    teste::apagar_pendentes();
    EXPECT_TRUE(antigo.isNull());
    EXPECT_EQ(&instancia<EcraContado>(), &c);

    // descarregar<T> never loads.
    descarregar<EcraContado>();
    descarregar<EcraContado>();
    EXPECT_EQ(EcraContado::c.cargas, 2);
    EXPECT_EQ(EcraContado::c.descargas, 2);
}

TEST_F(Instancias, MostrarModalVoltaAoEsconderEFicaCarregado) {
    EcraContado& e = instancia<EcraContado>();
    int profundidade = 0;
    QTimer::singleShot(0, &e, [&] {
        profundidade = Ecra::profundidade_modal();
        e.Hide();
    });
    e.Show_Modal();
    EXPECT_EQ(profundidade, 1);
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    EXPECT_TRUE(carregado<EcraContado>());
    EXPECT_FALSE(e.isVisible());
    EXPECT_FALSE(e.mostrado_modal());
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

TEST_F(Instancias, DescarregarSeDentroDoProprioModalESeguro) {
    EcraContado& e = instancia<EcraContado>();
    QPointer<EcraContado> guarda(&e);
    QTimer::singleShot(0, &e, [&e] { e.Unload(); });
    e.Show_Modal();
    EXPECT_FALSE(carregado<EcraContado>());
    EXPECT_EQ(EcraContado::c.descargas, 1);
    teste::apagar_pendentes();
    EXPECT_TRUE(guarda.isNull());
}

TEST_F(Instancias, FecharAJanelaDescarregaSalvoRecusa) {
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
    EXPECT_EQ(EcraContado::c.descargas, 1);
    EXPECT_FALSE(carregado<EcraContado>());
}

// ---- The flat chain of screens ----

std::vector<char> ordem;
int maior_profundidade = 0;
int maior_vivos = 0;
int passagens_pedidas = 0;

template <char Nome, class Seguinte>
class EcraCadeia : public Ecra {
public:
    EcraCadeia() : Ecra(QString(QLatin1Char(Nome))) {}
protected:
    void Form_Load() override {
        // Hands over from the event loop, like a button would.
        QTimer::singleShot(0, this, [this] {
            ordem.push_back(Nome);
            maior_profundidade = std::max(maior_profundidade, Ecra::profundidade_modal());
            maior_vivos = std::max(maior_vivos, Ecra::ecras_vivos());
            if (passagens_pedidas > 0) {
                --passagens_pedidas;
                Navegacao::passar_para<Seguinte>();
            }
            Unload();
        });
    }
};

class EcraB;
class EcraA : public EcraCadeia<'A', EcraB> {};
class EcraB : public EcraCadeia<'B', EcraA> {};

// Hands over while loading, before it is ever shown.
class EcraDePassagem : public Ecra {
public:
    EcraDePassagem() : Ecra(QStringLiteral("EcraDePassagem")) {}
protected:
    void Form_Load() override {
        ordem.push_back('P');
        Navegacao::passar_para<EcraA>();
        Unload();
    }
};

// Names a successor and then ends the program's chain.
class EcraQueTermina : public Ecra {
public:
    EcraQueTermina() : Ecra(QStringLiteral("EcraQueTermina")) {}
protected:
    void Form_Load() override {
        QTimer::singleShot(0, this, [this] {
            ordem.push_back('T');
            Navegacao::passar_para<EcraA>();
            Navegacao::parar();
            Navegacao::passar_para<EcraB>();   // ignored once stopped
            Hide();
        });
    }
};

struct Cadeia : ::testing::Test {
    void SetUp() override {
        ordem.clear();
        maior_profundidade = 0;
        maior_vivos = 0;
        passagens_pedidas = 0;
        vivos = Ecra::ecras_vivos();
    }
    void TearDown() override {
        descarregar<EcraQueTermina>();
        teste::apagar_pendentes();
        EXPECT_EQ(Ecra::ecras_vivos(), vivos);
        EXPECT_FALSE(Navegacao::a_correr());
    }
    int vivos = 0;
};

TEST_F(Cadeia, MilPassagensPelaOrdemSemAninharNemAcumularEcras) {
    passagens_pedidas = 1000;
    Navegacao::executar<EcraA>();
    ASSERT_EQ(ordem.size(), 1001u);
    for (std::size_t i = 0; i < ordem.size(); ++i) ASSERT_EQ(ordem[i], i % 2 == 0 ? 'A' : 'B') << i;
    EXPECT_EQ(maior_profundidade, 1);
    EXPECT_EQ(Ecra::profundidade_modal(), 0);
    // Unloaded screens are deleted as the chain goes on, not kept.
    EXPECT_LE(maior_vivos - vivos, 3);
    EXPECT_FALSE(carregado<EcraA>());
    EXPECT_FALSE(carregado<EcraB>());
}

TEST_F(Cadeia, PassagemLogoAoCarregarEFimSemSeguinte) {
    passagens_pedidas = 1;
    Navegacao::executar<EcraDePassagem>();
    EXPECT_EQ(std::string(ordem.begin(), ordem.end()), "PAB");
    EXPECT_EQ(maior_profundidade, 1);
}

TEST_F(Cadeia, PararEsqueceOSeguinte) {
    passagens_pedidas = 5;
    Navegacao::executar<EcraQueTermina>();
    EXPECT_EQ(std::string(ordem.begin(), ordem.end()), "T");
    EXPECT_FALSE(carregado<EcraA>());
    EXPECT_FALSE(Navegacao::seguinte_pedido());
}

TEST_F(Cadeia, PassarSemCadeiaComecaUmaDoCicloDeEventos) {
    passagens_pedidas = 2;
    Navegacao::passar_para<EcraB>();
    EXPECT_TRUE(ordem.empty());   // nothing runs inside the caller
    ASSERT_TRUE(teste::esperar_ate([] { return ordem.size() == 3u && !Navegacao::a_correr(); }, 3000));
    EXPECT_EQ(std::string(ordem.begin(), ordem.end()), "BAB");
}

} // namespace
} // namespace gv
