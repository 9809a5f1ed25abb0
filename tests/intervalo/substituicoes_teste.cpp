// Half time: writing the line-up back and the entry widths, then on the
// offscreen platform the substitution screens, the opponent's eleven they
// show, and the game's port showing them during a match. The league and
// cup screens are one class, so the lists, the swap rules, OK and closing,
// the captions and the opponent's button run on the league screen; the cup
// screen's own texts are rows of the refusals' table.

#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <map>

#include "ambiente_qt.h"
#include "jornada/apoio_jornada.h"
#include "matchday/frmequipa_adv.h"
#include "matchday/frmsubstituicoes.h"
#include "matchday/intervalo.h"
#include "matchday/partida.h"
#include "matchday/sorteio.h"
#include "startup/arranque.h"

namespace gv {
namespace {

using teste::com_ecra;
using teste::controlo;
using teste::MAIOR_SORTEIO;
using Textos = std::vector<std::string>;

// A bare game with the manager's club, its opponent and three referee
// trios, eleven starters and a bench of one per line, plus a player left
// out and an injured one, who are never listed.
const std::string ADVERSARIO = "Adversário FC";

class Intervalo : public teste::Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        db::Transaccao t(*Base_Dados);
        clube(Clube_Treinador);
        clube(ADVERSARIO);
        const char* trios[][3] = {{"Artur Primeiro", "Bruno Auxiliar", "Carlos Auxiliar"},
                                  {"Duarte Segundo", "Eduardo Bandeira", "Fausto Bandeira"},
                                  {"Gil Terceiro", "Hélio Linha", "Ivo Linha"}};
        for (auto& trio : trios)
            Base_Dados->Execute("INSERT INTO arbitros (ap, aux1, aux2) VALUES (?, ?, ?)", {trio[0], trio[1], trio[2]});
        Adversario = ADVERSARIO;
        Jogo_Em_Casa = 1;
        // Stored out of order on purpose: the lists sort by line and strength.
        const struct { const char* pos; int forca, joga; const char* nome; } plantel_treinador[] = {
            {"gk", 70, 1, "Guarda Titular"}, {"df", 65, 1, "Defesa Três"},     {"df", 80, 1, "Defesa Um"},
            {"df", 58, 1, "Defesa Quatro"},  {"df", 72, 1, "Defesa Dois"},     {"md", 62, 1, "Médio Três"},
            {"md", 75, 1, "Médio Um"},       {"md", 68, 1, "Médio Dois"},      {"av", 77, 1, "Avançado Um"},
            {"av", 66, 1, "Avançado Três"},  {"av", 71, 1, "Avançado Dois"},   {"av", 45, 2, "Avançado Banco"},
            {"md", 50, 2, "Médio Banco"},    {"df", 55, 2, "Defesa Banco"},    {"gk", 60, 2, "Guarda Suplente"},
            {"md", 90, 0, "Fora da Convocatória"}, {"av", 95, 3, "Lesionado"},
        };
        for (const auto& j : plantel_treinador) id[j.nome] = jogador(Clube_Treinador, j.pos, j.forca, j.joga, j.nome);
        id["Rival Titular"] = jogador(ADVERSARIO, "df", 50, 1, "Rival Titular");
        t.commit();
    }

    // joga of every player, by identity; joga of one.
    std::map<long long, int> jogas() {
        std::map<long long, int> r;
        auto rs = Base_Dados->OpenRecordset("SELECT rowid AS id, joga FROM jogadores");
        for (; !rs.Eof(); rs.MoveNext()) r[rs["id"].inteiro()] = rs["joga"].int32();
        return r;
    }
    long long joga(const char* nome) { return campo("joga", id.at(nome)); }
    // The identities of the named players, in this order.
    std::vector<long long> ids(std::initializer_list<const char*> nomes) {
        std::vector<long long> r;
        for (const char* n : nomes) r.push_back(id.at(n));
        return r;
    }

    std::map<std::string, long long> id;   // each named player's rowid
};

// Every character as wide as every other, accented ones too, so padded
// entries line up (some monospaced fonts do not flag themselves as such).
bool largura_fixa(const QFont& f) {
    const QFontMetrics m(f);
    const QString letras = QString::fromUtf8("Wil .1Mé");
    return std::all_of(letras.begin(), letras.end(),
                       [&](QChar c) { return m.horizontalAdvance(c) == m.horizontalAdvance(letras[0]); });
}

// For the screens: every screen of half time released after each test, and
// the list entries found by the identity they carry.
class Ecras_Intervalo : public Intervalo {
protected:
    void TearDown() override {
        descarregar_ecras();
        Intervalo::TearDown();
    }
    static void descarregar_ecras() {
        teste::descarregar_ecras<FrmEquipa_Adv, FrmSubstituicoes, FrmSubstituicoes_Taca>();
    }
    static QListWidget* lista(QWidget& ecra, int n) { return controlo<QListWidget>(ecra, n == 1 ? "List1" : "List2"); }
    static std::vector<long long> ids_da_lista(const QListWidget* l) {
        std::vector<long long> r;
        for (int i = 0; i < l->count(); ++i) r.push_back(l->item(i)->data(PAPEL_ROWID).toLongLong());
        return r;
    }
    // Selects the named player's entry as a click would; then both, and the swap button.
    void seleccionar(QListWidget* l, const char* nome) {
        const auto ids = ids_da_lista(l);
        const auto i = std::find(ids.begin(), ids.end(), id.at(nome));
        ASSERT_NE(i, ids.end()) << nome;
        l->setCurrentRow(static_cast<int>(i - ids.begin()));
    }
    void trocar(QWidget& ecra, const char* titular, const char* suplente) {
        seleccionar(lista(ecra, 1), titular);
        seleccionar(lista(ecra, 2), suplente);
        controlo<QPushButton>(ecra, "Command1")->click();
    }
    std::vector<std::string> avisos() const {   // the messages shown so far
        std::vector<std::string> r;
        for (const auto& m : porta.mensagens) r.push_back(m.texto);
        return r;
    }
};

TEST_F(Intervalo, TheLineUpIsWrittenOnlyToTheManagersPlayersEntriesKeepTheirColumnsAndNoRefereeNamesNobody) {
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE rowid = ?", {id.at("Rival Titular")});
    const long long ninguem = id.at("Rival Titular") + 1000;
    EXPECT_EQ(Gravar_Substituicoes(Clube_Treinador, ids({"Guarda Suplente", "Rival Titular"}),
                                   {ninguem, id.at("Guarda Titular")}), 2);
    EXPECT_EQ((std::array{joga("Guarda Suplente"), joga("Guarda Titular"), joga("Rival Titular")}),
              (std::array{1LL, 2LL, 0LL})) << "another club's player is never written";
    // Characters, not bytes: the accented letters count once.
    EXPECT_EQ(Texto_Entrada_Intervalo({1, "df", "José Maria Conceição Gonçalves", 64}), "df José Maria Conceição G64");
    EXPECT_EQ(Texto_Entrada_Intervalo({1, "av", "Zé", 100}), "av Zé                    100");
    Base_Dados->Execute("DELETE FROM arbitros");
    const Trio_Arbitros trio = Sortear_Arbitros();
    EXPECT_EQ(trio.ap + trio.aux1 + trio.aux2, "");
}

// ---------------------------------------------------------------- the substitution screens

class Substituicoes : public Ecras_Intervalo {
protected:
    FrmSubstituicoes& ecra() { return instancia<FrmSubstituicoes>(); }
    QListWidget* List1() { return lista(ecra(), 1); }
    QListWidget* List2() { return lista(ecra(), 2); }
    void trocar(const char* titular, const char* suplente) { Ecras_Intervalo::trocar(ecra(), titular, suplente); }
};

TEST_F(Substituicoes, ListsShowTheLineUpInOrderASwapMovesBothToTheEndsAndOnlyOkWritesThemByIdentity) {
    Ronda_Jogada = 0;
    N_Substituicoes = 2;
    const auto antes = jogas();
    ecra();
    EXPECT_EQ(Ronda_Jogada, 1) << "the round screen's timer must not start the round again";
    EXPECT_EQ(N_Substituicoes, 0);
    // By line and strength, each entry carrying its player's identity and position.
    EXPECT_EQ(ids_da_lista(List1()),
              ids({"Guarda Titular", "Defesa Um", "Defesa Dois", "Defesa Três", "Defesa Quatro", "Médio Um",
                   "Médio Dois", "Médio Três", "Avançado Um", "Avançado Dois", "Avançado Três"}));
    EXPECT_EQ(ids_da_lista(List2()), ids({"Guarda Suplente", "Defesa Banco", "Médio Banco", "Avançado Banco"}));
    EXPECT_EQ(List2()->item(3)->data(PAPEL_POS).toString(), "av");
    // Position in 3 characters, name in 22, then the strength.
    EXPECT_EQ(List1()->item(0)->text(), QString::fromUtf8("gk Guarda Titular        70"));
    EXPECT_EQ(List2()->item(2)->text(), QString::fromUtf8("md Médio Banco           50"));
    for (auto* l : {List1(), List2()}) EXPECT_TRUE(largura_fixa(l->font()) && l->selectedItems().isEmpty());
    trocar("Defesa Dois", "Defesa Banco");
    EXPECT_EQ(ids_da_lista(List1()),
              ids({"Guarda Titular", "Defesa Um", "Defesa Três", "Defesa Quatro", "Médio Um", "Médio Dois",
                   "Médio Três", "Avançado Um", "Avançado Dois", "Avançado Três", "Defesa Banco"}));
    EXPECT_EQ(ids_da_lista(List2()), ids({"Guarda Suplente", "Médio Banco", "Avançado Banco", "Defesa Dois"}));
    EXPECT_TRUE(List1()->item(10)->text().startsWith("df Defesa Banco"));
    // The selections are gone: pressing again does nothing.
    controlo<QPushButton>(ecra(), "Command1")->click();
    EXPECT_EQ(N_Substituicoes, 1);
    EXPECT_TRUE(porta.mensagens.empty());
    // Closed any other way than OK, nothing is written.
    ecra().close();
    EXPECT_FALSE(carregado<FrmSubstituicoes>());
    EXPECT_EQ(jogas(), antes);

    // Twins: same name, position and strength, told apart by identity only.
    id["Gémeo Titular"] = jogador(Clube_Treinador, "df", 60, 1, "Rui Gémeo");
    id["Gémeo Suplente"] = jogador(Clube_Treinador, "df", 60, 2, "Rui Gémeo");
    trocar("Gémeo Titular", "Gémeo Suplente");
    trocar("Avançado Um", "Avançado Banco");
    // A listed player is written whatever the table holds meanwhile.
    Base_Dados->Execute("UPDATE jogadores SET joga = 0 WHERE rowid = ?", {id.at("Médio Um")});
    auto esperado = jogas();
    for (auto [nome, joga] : {std::pair{"Gémeo Titular", 2}, {"Gémeo Suplente", 1}, {"Avançado Um", 2},
                              {"Avançado Banco", 1}, {"Médio Um", 1}})
        esperado[id.at(nome)] = joga;
    controlo<QPushButton>(ecra(), "Command2")->click();
    EXPECT_FALSE(carregado<FrmSubstituicoes>());
    EXPECT_EQ(jogas(), esperado) << "everyone else, the left-out, the injured and the opponent, as before";
}

TEST_F(Substituicoes, ASwapNeedsBothEntriesAGoalkeeperForAGoalkeeperAndNoFourthByButtonOrDoubleClick) {
    // Refused swaps change nothing, one entry alone does nothing; the cup
    // screen's button speaks its own English.
    const char* gk_pt = "Só pode Substituir um Guarda Redes por outro Guarda Redes.";
    const char* gk_en = "You can only change one GK for another GK.";
    const char* gk_taca = "You can only change on GK for another GK.";
    const Textos pt{gk_pt, gk_pt, "Só pode fazer 3 Substituições."}, en{gk_en, gk_en, "You can only make 3 changes."};
    const struct {
        bool taca;
        const char* lingua;
        int via;   // 0 the swap button, else a double click on that list
        Textos avisos;
    } casos[] = {{false, "P", 0, pt}, {false, "I", 1, en}, {false, "P", 2, pt}, {true, "P", 0, pt},
                 {true, "I", 0, {gk_taca, gk_taca, "You can't make more than 3 changes."}}, {true, "I", 2, en}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.taca ? "cup " : "league ") + c.lingua + " " + std::to_string(c.via));
        Lingua = c.lingua;
        Ecra_Substituicoes& e = c.taca ? static_cast<Ecra_Substituicoes&>(instancia<FrmSubstituicoes_Taca>()) : ecra();
        EXPECT_EQ(e.objectName(), c.taca ? "FrmSubstituicoes_Taca" : "FrmSubstituicoes");
        porta.mensagens.clear();
        for (auto [titular, suplente] : {std::pair<const char*, const char*>{"Defesa Um", nullptr},
                                         {"Guarda Titular", "Médio Banco"}, {"Defesa Um", "Guarda Suplente"},
                                         {"Guarda Titular", "Guarda Suplente"}, {"Guarda Suplente", "Guarda Titular"},
                                         {"Defesa Dois", "Defesa Banco"}, {"Médio Um", "Médio Banco"}}) {
            seleccionar(lista(e, 1), titular);
            if (suplente) seleccionar(lista(e, 2), suplente);
            if (c.via) emit lista(e, c.via)->itemDoubleClicked(lista(e, c.via)->currentItem());
            else controlo<QPushButton>(e, "Command1")->click();
        }
        EXPECT_EQ(avisos(), c.avisos);
        for (const auto& m : porta.mensagens) EXPECT_EQ(m.icone, Icone::Critico);
        EXPECT_EQ(N_Substituicoes, 3);
        EXPECT_EQ(ids_da_lista(lista(e, 1)), ids({"Defesa Um", "Defesa Três", "Defesa Quatro", "Médio Um", "Médio Dois",
                                                 "Médio Três", "Avançado Um", "Avançado Dois", "Avançado Três",
                                                 "Guarda Titular", "Defesa Banco"}));
        EXPECT_EQ(ids_da_lista(lista(e, 2)), ids({"Médio Banco", "Avançado Banco", "Guarda Suplente", "Defesa Dois"}));
        descarregar_ecras();
    }
}

TEST_F(Substituicoes, CaptionsAndRefereeTrioInBothLanguages) {
    const std::pair<const char*, Textos> casos[] = {
        {"P", {"1ª Parte (Intrevalo) - Substituições", "Jogadores Titulares", "Jogadores Suplentes", "<", "&OK",
               "Equipa Adv.: Adversário FC", "Arbitro Principal: Duarte Segundo",
               "(1º Arbitro Aux.: Eduardo Bandeira; 2º Arbitro Aux.: Fausto Bandeira)"}},
        {"I", {"1st Part - Substitutions", "Players on the Team", "Players to Use", "<", "&OK",
               "Opponent Team: Adversário FC", "Referee: Duarte Segundo",
               "(1st Aux.: Eduardo Bandeira; 2nd Aux.: Fausto Bandeira)"}}};
    for (const auto& [lingua, textos] : casos) {
        Lingua = lingua;
        Sorteios_Fixados sorteio({0.5});   // the second of three trios
        auto& e = ecra();
        Textos vistos{e.windowTitle().toStdString()};
        for (const char* n : {"Frame1", "Frame2", "Command1", "Command2", "Command3", "Label2", "Label3"})
            vistos.push_back(controlo<QWidget>(e, n)->property(*n == 'F' ? "title" : "text").toString().toStdString());
        EXPECT_EQ(vistos, textos);
        descarregar_ecras();
    }
    // One draw over the rows picks the trio, each row equally likely.
    for (auto [r, arbitro] : {std::pair{0.0, "Artur Primeiro"}, {0.33, "Artur Primeiro"}, {0.34, "Duarte Segundo"},
                              {0.66, "Duarte Segundo"}, {0.67, "Gil Terceiro"}, {MAIOR_SORTEIO, "Gil Terceiro"}}) {
        Sorteios_Fixados sorteios({r, 0.125});
        EXPECT_EQ(controlo<QLabel>(ecra(), "Label2")->text(), QString::fromUtf8("Referee: ") + arbitro) << r;
        EXPECT_EQ(Sorteio(), 0.125) << "the load takes exactly one draw";
        descarregar_ecras();
    }
}

TEST_F(Substituicoes, TheOpponentButtonRefusesWithoutACupOpponentOrOutsideTheLeagueElseShowsTheElevenModally) {
    const struct { const char *adversario, *lingua, *texto; } casos[] = {
        {"0", "P", "Já foi eliminado da Taça Golvantario"},
        {"0", "I", "You are not in the CUP."},
        {"Clube Amador", "P", "Não existem dados dos clubes da 4ª divisão"},
        {"Clube Amador", "I", "There aren't informnation of the 4th Division Clubs."}};
    for (const auto& c : casos) {
        Adversario = c.adversario;
        Lingua = c.lingua;
        porta.mensagens.clear();
        controlo<QPushButton>(ecra(), "Command3")->click();
        EXPECT_EQ(avisos(), Textos{c.texto});
        EXPECT_EQ(porta.mensagens.at(0).icone, Icone::Critico);
        EXPECT_TRUE(!carregado<FrmEquipa_Adv>() && carregado<FrmSubstituicoes>());
        descarregar_ecras();
    }
    // The opponent's eleven, and back to the swaps as they were.
    Adversario = ADVERSARIO;
    porta.mensagens.clear();
    plantel(ADVERSARIO, 2, 5, 4, 3);
    trocar("Defesa Dois", "Defesa Banco");
    const auto lista1 = ids_da_lista(List1());
    int linhas_vistas = -1;
    ASSERT_TRUE(com_ecra<FrmEquipa_Adv>(
        [&](FrmEquipa_Adv& adv) {
            linhas_vistas = lista(adv, 1)->count();
            EXPECT_EQ(controlo<QPushButton>(adv, "Command1")->text(), "&OK");
            controlo<QPushButton>(adv, "Command1")->click();
        },
        [&] { controlo<QPushButton>(ecra(), "Command3")->click(); }));
    EXPECT_EQ(linhas_vistas, 11);
    EXPECT_FALSE(carregado<FrmEquipa_Adv>());
    ASSERT_TRUE(carregado<FrmSubstituicoes>());
    EXPECT_EQ(ids_da_lista(List1()), lista1);
    EXPECT_EQ(N_Substituicoes, 1);
    EXPECT_TRUE(porta.mensagens.empty());
}

// ---------------------------------------------------------------- the opponent's eleven

class Equipa_Adv : public Ecras_Intervalo {
protected:
    QListWidget* lista() { return Ecras_Intervalo::lista(instancia<FrmEquipa_Adv>(), 1); }
    QString linha(int i) { return lista()->item(i)->text(); }
};

TEST_F(Equipa_Adv, TheElevenIsPickedInTheFirstFormationOfItsVenueAndListedUnderItsCaption) {
    plantel(ADVERSARIO, 2, 6, 6, 4);
    const std::pair<int, std::map<std::string, int>> casos[] = {
        {0, {{"gk", 1}, {"df", 4}, {"md", 3}, {"av", 3}}},   // opponent at home: 4-3-3
        {1, {{"gk", 1}, {"df", 5}, {"md", 3}, {"av", 2}}}};  // opponent away: 5-3-2
    for (const auto& [em_casa, esperado] : casos) {
        Jogo_Em_Casa = em_casa;
        std::map<std::string, int> listadas;   // read back from the starters written
        for (int i = 0; i < lista()->count(); ++i) ++listadas[linha(i).mid(3, 2).toStdString()];
        EXPECT_EQ(listadas, esperado) << em_casa;
        EXPECT_TRUE(linha(10).startsWith("11 av ")) << "numbers run on across the lines";
        EXPECT_EQ(instancia<FrmEquipa_Adv>().windowTitle(), QString::fromUtf8("Constituição da Equipa: Adversário FC"));
        descarregar_ecras();
    }
    // A cup opponent from outside the league: nobody to list.
    Lingua = "I";
    Adversario = "Clube Amador";
    EXPECT_EQ(instancia<FrmEquipa_Adv>().windowTitle(), QString::fromUtf8("Players of the Team: Clube Amador"));
    EXPECT_EQ(lista()->count(), 0);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Equipa_Adv, LinesArePaddedWithStrengthRightAlignedAndGoalsInTwoDigits) {
    Base_Dados->Execute("DELETE FROM jogadores WHERE equipa = ?", {ADVERSARIO});
    const struct { const char *pos, *nome; int forca, golos; } jogadores[] = {
        {"av", "João Ümlaut", 9, 7}, {"md", "Ângelo Conceição Magalhães Júnior", 61, 123},
        {"df", "Defesa Adv", 75, 3}, {"gk", "Guarda Adv", 100, 0}};
    for (const auto& j : jogadores)
        Base_Dados->Execute("UPDATE jogadores SET golos = ? WHERE rowid = ?",
                            {j.golos, jogador(ADVERSARIO, j.pos, j.forca, 0, j.nome)});
    ASSERT_EQ(lista()->count(), 4) << "a club short in every formation keeps what it has";
    // A name longer than its 23 characters is cut, so the columns hold;
    // accented letters count as one character each.
    const char* esperadas[] = {"1  gk Guarda Adv             100 (00)", "2  df Defesa Adv              75 (03)",
                               "3  md Ângelo Conceição Magalh 61 (123)", "4  av João Ümlaut              9 (07)"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(linha(i), QString::fromUtf8(esperadas[i]));
    EXPECT_TRUE(largura_fixa(lista()->font()));
}

// ---------------------------------------------------------------- the game's port at half time

class Interface_Jogo_Intervalo : public Ecras_Intervalo {
protected:
    Interface_Jogo porta_jogo;
};

TEST_F(Interface_Jogo_Intervalo, TheManagersMatchShowsAFreshLeagueScreenUnderTheArrowAndPlaysOnWithWhatOkWrote) {
    Ui_Instalada instalada(porta_jogo);
    plantel(ADVERSARIO, 2, 5, 4, 3);
    // A screen left from before, and the line-up changed since it read it.
    instancia<FrmSubstituicoes>().Marcar_Intervalo("Velho", "Jogo", 5, 5);
    Base_Dados->Execute("UPDATE jogadores SET joga = 3 - joga WHERE rowid IN (?, ?)",
                        {id.at("Defesa Um"), id.at("Defesa Banco")});
    QString titulo, linha;
    std::vector<long long> titulares;
    Qt::CursorShape cursor = Qt::BlankCursor;
    QApplication::setOverrideCursor(Qt::WaitCursor);   // the round runs under the hourglass
    Sorteios_Fixados sem_golos([] { return 0.0; });
    const bool visto = com_ecra<FrmSubstituicoes>(
        [&](FrmSubstituicoes& e) {
            titulo = e.windowTitle();
            linha = controlo<QLabel>(e, "Label1")->text();
            titulares = ids_da_lista(lista(e, 1));
            cursor = QApplication::overrideCursor()->shape();
            EXPECT_FALSE(carregado<FrmSubstituicoes_Taca>());
            trocar(e, "Avançado Um", "Avançado Banco");   // the strongest forward off, the weakest on
            controlo<QPushButton>(e, "Command2")->click();
        },
        [&] { Simular_Jogo(Clube_Treinador, ADVERSARIO); });
    const Qt::CursorShape depois = QApplication::overrideCursor()->shape();
    QApplication::restoreOverrideCursor();
    ASSERT_TRUE(visto);
    EXPECT_EQ(titulo, QString::fromUtf8("1ª Parte (Intrevalo) - Substituições - Campeonato"));
    EXPECT_EQ(linha, QString::fromUtf8("(0) TREINADOR FC - ADVERSÁRIO FC (0)"));
    EXPECT_EQ(std::count(titulares.begin(), titulares.end(), id.at("Defesa Banco")), 1) << "the lists are read again";
    EXPECT_EQ(std::count(titulares.begin(), titulares.end(), id.at("Defesa Um")), 0);
    EXPECT_EQ(cursor, Qt::ArrowCursor);
    EXPECT_EQ(depois, Qt::WaitCursor);
    EXPECT_FALSE(carregado<FrmSubstituicoes>());
    // The second half's strengths come from what OK wrote: 71, 66 and 45.
    EXPECT_DOUBLE_EQ(Media_AV_Casa, (71.0 + 66.0 + 45.0) / 3.0);
    EXPECT_EQ(N_AV_Casa, 3);
}

TEST_F(Interface_Jogo_Intervalo, CupHalfTimeShowsTheCupScreenUntilItIsClosed) {
    Ui_Instalada instalada(porta_jogo);
    Lingua = "I";
    QString titulo, linha;
    const bool visto = com_ecra<FrmSubstituicoes_Taca>(
        [&](FrmSubstituicoes_Taca& e) {
            titulo = e.windowTitle();
            linha = controlo<QLabel>(e, "Label1")->text();
            EXPECT_FALSE(carregado<FrmSubstituicoes>());
            e.close();
        },
        [&] { ui().intervalo(true, ADVERSARIO, Clube_Treinador, 0, 3); });
    ASSERT_TRUE(visto);
    EXPECT_EQ(titulo, QString::fromUtf8("1st Part - Substitutions - Taça"));
    EXPECT_EQ(linha, QString::fromUtf8("(0) ADVERSÁRIO FC - TREINADOR FC (3)"));
    EXPECT_FALSE(carregado<FrmSubstituicoes_Taca>());
}

} // namespace
} // namespace gv
