// The half-time substitution screens on the offscreen platform: lists,
// swap rules, OK and closing, captions, the referee and the opponent's
// button. The league and cup screens share their rules, so those tests
// run on both.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <type_traits>

#include "apoio_ecras_intervalo.h"
#include "matchday/sorteio.h"

namespace gv {
namespace {

using teste::ADVERSARIO;

template <class T>
class Substituicoes : public teste::Ecras_Intervalo {
protected:
    T& ecra() { return instancia<T>(); }
    QListWidget* List1() { return controlo<QListWidget>(ecra(), "List1"); }
    QListWidget* List2() { return controlo<QListWidget>(ecra(), "List2"); }
    void trocar(const char* titular, const char* suplente) { Ecras_Intervalo::trocar(ecra(), titular, suplente); }
};

struct Nome_Ecra {
    template <class T>
    static std::string GetName(int) {
        return std::is_same_v<T, FrmSubstituicoes> ? "Campeonato" : "Taca";
    }
};
using Os_Dois_Ecras = ::testing::Types<FrmSubstituicoes, FrmSubstituicoes_Taca>;
TYPED_TEST_SUITE(Substituicoes, Os_Dois_Ecras, Nome_Ecra);

TYPED_TEST(Substituicoes, ListsShowStartersAndBenchByLineAndStrengthCarryingEachIdentity) {
    Ronda_Jogada = 0;
    N_Substituicoes = 2;
    this->ecra();
    EXPECT_EQ(Ronda_Jogada, 1) << "the round screen's timer must not start the round again";
    EXPECT_EQ(N_Substituicoes, 0);

    auto* l1 = this->List1();
    auto* l2 = this->List2();
    EXPECT_EQ(this->ids_da_lista(l1),
              this->ids({"Guarda Titular", "Defesa Um", "Defesa Dois", "Defesa Três", "Defesa Quatro", "Médio Um",
                         "Médio Dois", "Médio Três", "Avançado Um", "Avançado Dois", "Avançado Três"}));
    EXPECT_EQ(this->ids_da_lista(l2), this->ids({"Guarda Suplente", "Defesa Banco", "Médio Banco", "Avançado Banco"}));

    // Position in 3 characters, name in 22, then the strength.
    EXPECT_EQ(l1->item(0)->text(), QString::fromUtf8("gk Guarda Titular        70"));
    EXPECT_EQ(l2->item(2)->text(), QString::fromUtf8("md Médio Banco           50"));
    for (QListWidget* l : {l1, l2}) {
        for (int i = 0; i < l->count(); ++i) {
            const QString t = l->item(i)->text();
            auto rs = Base_Dados->OpenRecordset("SELECT pos, nome, forca FROM jogadores WHERE rowid = ?",
                                                {l->item(i)->data(PAPEL_ROWID).toLongLong()});
            ASSERT_FALSE(rs.Eof());
            EXPECT_EQ(t.left(3), QString::fromStdString(rs["pos"].texto() + " "));
            EXPECT_EQ(t.mid(3, 22).trimmed(), QString::fromStdString(rs["nome"].texto()));
            EXPECT_EQ(t.mid(25), QString::number(rs["forca"].int32()));
            EXPECT_EQ(l->item(i)->data(PAPEL_POS).toString(), QString::fromStdString(rs["pos"].texto()));
        }
        EXPECT_TRUE(teste::largura_fixa(l->font()));
        EXPECT_TRUE(l->selectedItems().isEmpty());
    }
}

TYPED_TEST(Substituicoes, ASwapMovesBothEntriesToTheEndAndClearsBothSelections) {
    const auto antes = this->jogas();
    this->trocar("Defesa Dois", "Defesa Banco");
    EXPECT_EQ(this->ids_da_lista(this->List1()),
              this->ids({"Guarda Titular", "Defesa Um", "Defesa Três", "Defesa Quatro", "Médio Um", "Médio Dois",
                         "Médio Três", "Avançado Um", "Avançado Dois", "Avançado Três", "Defesa Banco"}));
    EXPECT_EQ(this->ids_da_lista(this->List2()),
              this->ids({"Guarda Suplente", "Médio Banco", "Avançado Banco", "Defesa Dois"}));
    EXPECT_TRUE(this->List1()->item(10)->text().startsWith("df Defesa Banco"));
    EXPECT_TRUE(this->List1()->selectedItems().isEmpty());
    EXPECT_TRUE(this->List2()->selectedItems().isEmpty());
    EXPECT_EQ(N_Substituicoes, 1);
    EXPECT_TRUE(this->porta.mensagens.empty());
    EXPECT_EQ(this->jogas(), antes) << "nothing is written before OK";
}

TYPED_TEST(Substituicoes, ASwapNeedsASelectionInBothLists) {
    auto& e = this->ecra();
    auto* botao = this->template controlo<QPushButton>(e, "Command1");
    const auto lista1 = this->ids_da_lista(this->List1()), lista2 = this->ids_da_lista(this->List2());

    this->seleccionar(this->List1(), "Defesa Um");
    botao->click();
    this->List1()->clearSelection();
    this->seleccionar(this->List2(), "Defesa Banco");
    botao->click();
    EXPECT_EQ(this->ids_da_lista(this->List1()), lista1);
    EXPECT_EQ(this->ids_da_lista(this->List2()), lista2);
    EXPECT_EQ(N_Substituicoes, 0);

    // After a swap the selections are gone: pressing again does nothing.
    this->trocar("Defesa Um", "Defesa Banco");
    botao->click();
    EXPECT_EQ(N_Substituicoes, 1);
    EXPECT_TRUE(this->porta.mensagens.empty());
}

TYPED_TEST(Substituicoes, AFourthSwapIsRefusedEvenAfterSwappingBack) {
    this->trocar("Defesa Dois", "Defesa Banco");
    this->trocar("Defesa Banco", "Defesa Dois");
    this->trocar("Defesa Dois", "Defesa Banco");
    ASSERT_EQ(N_Substituicoes, 3);
    ASSERT_TRUE(this->porta.mensagens.empty());
    const auto lista1 = this->ids_da_lista(this->List1()), lista2 = this->ids_da_lista(this->List2());

    this->trocar("Médio Um", "Médio Banco");
    ASSERT_EQ(this->porta.mensagens.size(), 1u);
    EXPECT_EQ(this->porta.mensagens[0].texto, "Só pode fazer 3 Substituições.");
    EXPECT_EQ(this->porta.mensagens[0].icone, Icone::Critico);
    EXPECT_EQ(this->ids_da_lista(this->List1()), lista1);
    EXPECT_EQ(this->ids_da_lista(this->List2()), lista2);
    EXPECT_EQ(N_Substituicoes, 3);
}

TYPED_TEST(Substituicoes, AGoalkeeperOnlyChangesPlacesWithAGoalkeeper) {
    const auto lista1 = this->ids_da_lista(this->List1()), lista2 = this->ids_da_lista(this->List2());
    this->trocar("Guarda Titular", "Defesa Banco");
    this->trocar("Defesa Um", "Guarda Suplente");
    ASSERT_EQ(this->porta.mensagens.size(), 2u);
    for (const auto& m : this->porta.mensagens) {
        EXPECT_EQ(m.texto, "Só pode Substituir um Guarda Redes por outro Guarda Redes.");
        EXPECT_EQ(m.icone, Icone::Critico);
    }
    EXPECT_EQ(this->ids_da_lista(this->List1()), lista1);
    EXPECT_EQ(this->ids_da_lista(this->List2()), lista2);
    EXPECT_EQ(N_Substituicoes, 0);

    this->trocar("Guarda Titular", "Guarda Suplente");
    EXPECT_EQ(this->ids_da_lista(this->List1()).back(), this->id.at("Guarda Suplente"));
    EXPECT_EQ(this->ids_da_lista(this->List2()).back(), this->id.at("Guarda Titular"));
    EXPECT_EQ(N_Substituicoes, 1);
}

TYPED_TEST(Substituicoes, DoubleClicksOnEitherListSwapToo) {
    auto& e = this->ecra();
    e.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e));
    // A double click: a first click, then the second press reported as double.
    auto duplo = [](QListWidget* l, QListWidgetItem* item) {
        ASSERT_NE(item, nullptr);
        const QPoint centro = l->visualItemRect(item).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, centro);
    };

    this->seleccionar(this->List1(), "Defesa Dois");
    duplo(this->List2(), this->entrada(this->List2(), this->id.at("Defesa Banco")));
    EXPECT_EQ(this->ids_da_lista(this->List1()).back(), this->id.at("Defesa Banco"));
    EXPECT_EQ(this->ids_da_lista(this->List2()).back(), this->id.at("Defesa Dois"));

    this->seleccionar(this->List2(), "Médio Banco");
    duplo(this->List1(), this->entrada(this->List1(), this->id.at("Médio Um")));
    EXPECT_EQ(this->ids_da_lista(this->List1()).back(), this->id.at("Médio Banco"));
    EXPECT_EQ(this->ids_da_lista(this->List2()).back(), this->id.at("Médio Um"));
    EXPECT_EQ(N_Substituicoes, 2);
}

TYPED_TEST(Substituicoes, OkWritesBothListsByIdentityAndUnloads) {
    // Twins: same name, position and strength, told apart by identity only.
    this->id["Gémeo Titular"] = this->jogador(Clube_Treinador, "df", 60, 1, "Rui Gémeo");
    this->id["Gémeo Suplente"] = this->jogador(Clube_Treinador, "df", 60, 2, "Rui Gémeo");
    this->trocar("Gémeo Titular", "Gémeo Suplente");
    this->trocar("Avançado Um", "Avançado Banco");
    // A listed player is written whatever the table holds meanwhile.
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE rowid = ?", {this->id.at("Médio Um")});
    auto esperado = this->jogas();
    esperado[this->id.at("Gémeo Titular")] = 2;
    esperado[this->id.at("Gémeo Suplente")] = 1;
    esperado[this->id.at("Avançado Um")] = 2;
    esperado[this->id.at("Avançado Banco")] = 1;
    esperado[this->id.at("Médio Um")] = 1;

    this->template controlo<QPushButton>(this->ecra(), "Command2")->click();
    EXPECT_FALSE(carregado<TypeParam>());
    // Everyone else, the left-out, the injured and the opponent, as before.
    EXPECT_EQ(this->jogas(), esperado);
}

TYPED_TEST(Substituicoes, ClosingAnyOtherWayWritesNothing) {
    const auto antes = this->jogas();
    this->trocar("Guarda Titular", "Guarda Suplente");
    this->trocar("Avançado Um", "Avançado Banco");
    this->ecra().close();
    EXPECT_FALSE(carregado<TypeParam>());
    EXPECT_EQ(this->jogas(), antes);
}

// ---------------------------------------------------------------- texts

class Textos_Substituicoes : public teste::Ecras_Intervalo {};

TEST_F(Textos_Substituicoes, RefusalsSpeakTheScreensLanguageAndTheCupButtonItsOwnEnglish) {
    struct Caso {
        bool taca;
        const char* lingua;
        bool botao;   // false: double clicks
        const char* limite;
        const char* guarda_redes;
    };
    const char* limite_pt = "Só pode fazer 3 Substituições.";
    const char* gk_pt = "Só pode Substituir um Guarda Redes por outro Guarda Redes.";
    const Caso casos[] = {
        {false, "P", true, limite_pt, gk_pt},
        {false, "I", true, "You can only make 3 changes.", "You can only change one GK for another GK."},
        {false, "I", false, "You can only make 3 changes.", "You can only change one GK for another GK."},
        {true, "P", true, limite_pt, gk_pt},
        {true, "P", false, limite_pt, gk_pt},
        {true, "I", true, "You can't make more than 3 changes.", "You can only change on GK for another GK."},
        {true, "I", false, "You can only make 3 changes.", "You can only change one GK for another GK."},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.taca ? "cup " : "league ") + c.lingua + (c.botao ? " button" : " double click"));
        Lingua = c.lingua;
        auto& e = substituicoes(c.taca);
        auto* l1 = controlo<QListWidget>(e, "List1");
        auto* l2 = controlo<QListWidget>(e, "List2");
        auto troca = [&](const char* titular, const char* suplente) {
            seleccionar(l1, titular);
            seleccionar(l2, suplente);
            if (c.botao)
                controlo<QPushButton>(e, "Command1")->click();
            else
                emit l2->itemDoubleClicked(l2->currentItem());
        };
        porta.mensagens.clear();
        troca("Guarda Titular", "Médio Banco");
        troca("Defesa Dois", "Defesa Banco");
        troca("Defesa Banco", "Defesa Dois");
        troca("Defesa Dois", "Defesa Banco");
        troca("Médio Um", "Médio Banco");
        ASSERT_EQ(porta.mensagens.size(), 2u);
        EXPECT_EQ(porta.mensagens[0].texto, c.guarda_redes);
        EXPECT_EQ(porta.mensagens[1].texto, c.limite);
        descarregar_substituicoes();
    }
}

TEST_F(Textos_Substituicoes, CaptionsAndRefereeTrioInBothLanguages) {
    struct Caso {
        const char* lingua;
        const char* titulo;
        const char* frame1;
        const char* frame2;
        const char* adversario;
        const char* arbitro;
        const char* auxiliares;
    };
    const Caso casos[] = {
        {"P", "1ª Parte (Intrevalo) - Substituições", "Jogadores Titulares", "Jogadores Suplentes",
         "Equipa Adv.: Adversário FC", "Arbitro Principal: Duarte Segundo",
         "(1º Arbitro Aux.: Eduardo Bandeira; 2º Arbitro Aux.: Fausto Bandeira)"},
        {"I", "1st Part - Substitutions", "Players on the Team", "Players to Use", "Opponent Team: Adversário FC",
         "Referee: Duarte Segundo", "(1st Aux.: Eduardo Bandeira; 2nd Aux.: Fausto Bandeira)"},
    };
    for (bool taca : {false, true}) {
        for (const Caso& c : casos) {
            SCOPED_TRACE(std::string(taca ? "cup " : "league ") + c.lingua);
            Lingua = c.lingua;
            Sorteios_Fixados draw({0.5});   // the second of three trios
            auto& e = substituicoes(taca);
            EXPECT_EQ(e.objectName(), taca ? "FrmSubstituicoes_Taca" : "FrmSubstituicoes");
            EXPECT_EQ(e.windowTitle(), QString::fromUtf8(c.titulo));
            EXPECT_EQ(controlo<QGroupBox>(e, "Frame1")->title(), QString::fromUtf8(c.frame1));
            EXPECT_EQ(controlo<QGroupBox>(e, "Frame2")->title(), QString::fromUtf8(c.frame2));
            EXPECT_EQ(controlo<QPushButton>(e, "Command1")->text(), "<");
            EXPECT_EQ(controlo<QPushButton>(e, "Command2")->text(), "&OK");
            EXPECT_EQ(controlo<QPushButton>(e, "Command3")->text(), QString::fromUtf8(c.adversario));
            EXPECT_EQ(controlo<QLabel>(e, "Label2")->text(), QString::fromUtf8(c.arbitro));
            EXPECT_EQ(controlo<QLabel>(e, "Label3")->text(), QString::fromUtf8(c.auxiliares));
            descarregar_substituicoes();
        }
    }
}

TEST_F(Textos_Substituicoes, TheRefereeTrioIsOneUniformDrawOverTheRows) {
    const std::pair<double, const char*> casos[] = {
        {0.0, "Artur Primeiro"}, {0.33, "Artur Primeiro"}, {0.34, "Duarte Segundo"},
        {0.66, "Duarte Segundo"}, {0.67, "Gil Terceiro"}, {teste::MAIOR_SORTEIO, "Gil Terceiro"}};
    for (auto [r, arbitro] : casos) {
        SCOPED_TRACE(r);
        Sorteios_Fixados draws({r, 0.125});
        auto& e = substituicoes(false);
        EXPECT_EQ(controlo<QLabel>(e, "Label2")->text(), QString::fromUtf8("Arbitro Principal: ") + QString::fromUtf8(arbitro));
        EXPECT_EQ(Sorteio(), 0.125) << "the load takes exactly one draw";
        descarregar_substituicoes();
    }
}

TEST_F(Textos_Substituicoes, HalfTimeAppendsTheCompetitionToTheCaptionAndWritesTheScoreLine) {
    struct Caso {
        bool taca;
        const char* lingua;
        const char* titulo;
    };
    const Caso casos[] = {
        {false, "P", "1ª Parte (Intrevalo) - Substituições - Campeonato"},
        {true, "P", "1ª Parte (Intrevalo) - Substituições - Taça"},
        {false, "I", "1st Part - Substitutions - Campeonato"},
        {true, "I", "1st Part - Substitutions - Taça"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.taca ? "cup " : "league ") + c.lingua);
        Lingua = c.lingua;
        auto& e = substituicoes(c.taca);
        e.Marcar_Intervalo(ADVERSARIO, Clube_Treinador, 2, 1);
        EXPECT_EQ(e.windowTitle(), QString::fromUtf8(c.titulo));
        EXPECT_EQ(controlo<QLabel>(e, "Label1")->text(), QString::fromUtf8("(2) ADVERSÁRIO FC - TREINADOR FC (1)"));
        descarregar_substituicoes();
    }
}

// ---------------------------------------------------------------- the opponent's button

TEST_F(Textos_Substituicoes, TheOpponentButtonRefusesWithoutACupOpponentOrOutsideTheLeague) {
    struct Caso {
        const char* adversario;
        const char* lingua;
        const char* texto;
    };
    const Caso casos[] = {
        {"0", "P", "Já foi eliminado da Taça Golvantario"},
        {"0", "I", "You are not in the CUP."},
        {"Clube Amador", "P", "Não existem dados dos clubes da 4ª divisão"},
        {"Clube Amador", "I", "There aren't informnation of the 4th Division Clubs."},
    };
    for (bool taca : {false, true}) {
        for (const Caso& c : casos) {
            SCOPED_TRACE(std::string(c.adversario) + " " + c.lingua);
            Adversario = c.adversario;
            Lingua = c.lingua;
            porta.mensagens.clear();
            auto& e = substituicoes(taca);
            controlo<QPushButton>(e, "Command3")->click();
            ASSERT_EQ(porta.mensagens.size(), 1u);
            EXPECT_EQ(porta.mensagens[0].texto, c.texto);
            EXPECT_EQ(porta.mensagens[0].icone, Icone::Critico);
            EXPECT_FALSE(carregado<FrmEquipa_Adv>());
            EXPECT_TRUE(taca ? carregado<FrmSubstituicoes_Taca>() : carregado<FrmSubstituicoes>());
            descarregar_substituicoes();
        }
    }
}

TEST_F(Textos_Substituicoes, TheOpponentButtonShowsTheElevenModallyAndComesBackToTheSwaps) {
    plantel(ADVERSARIO, 2, 5, 4, 3);
    auto& e = substituicoes(false);
    trocar(e, "Defesa Dois", "Defesa Banco");
    const auto lista1 = ids_da_lista(controlo<QListWidget>(e, "List1"));

    int linhas_vistas = -1;
    QTimer guia;
    guia.setInterval(10);
    QObject::connect(&guia, &QTimer::timeout, [&] {
        if (linhas_vistas < 0 && carregado<FrmEquipa_Adv>() && instancia<FrmEquipa_Adv>().mostrado_modal()) {
            linhas_vistas = controlo<QListWidget>(instancia<FrmEquipa_Adv>(), "List1")->count();
            controlo<QPushButton>(instancia<FrmEquipa_Adv>(), "Command1")->click();
        }
    });
    guia.start();
    // Never left waiting when the screen does not come; gone with this test.
    QTimer reserva;
    reserva.setSingleShot(true);
    QObject::connect(&reserva, &QTimer::timeout, [] { descarregar<FrmEquipa_Adv>(); });
    reserva.start(5000);
    controlo<QPushButton>(e, "Command3")->click();
    guia.stop();

    EXPECT_EQ(linhas_vistas, 11);
    EXPECT_FALSE(carregado<FrmEquipa_Adv>());
    ASSERT_TRUE(carregado<FrmSubstituicoes>());
    EXPECT_EQ(ids_da_lista(controlo<QListWidget>(e, "List1")), lista1);
    EXPECT_EQ(N_Substituicoes, 1);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {ADVERSARIO}), 11);
    EXPECT_TRUE(porta.mensagens.empty());
}

} // namespace
} // namespace gv
