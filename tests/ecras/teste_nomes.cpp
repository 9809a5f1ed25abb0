// Every name readable: a game whose clubs and players carry names of 20
// characters crowded with wide letters and the widest names of the seed
// data, played through a season, and every screen that lists names opened
// on it. No cell or list line may hold more text than its column shows, and
// no grid or list may need a horizontal scroll bar.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QListWidget>
#include <QRadioButton>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <set>

#include "ambiente_qt.h"
#include "data/estado.h"
#include "desk/frmdados.h"
#include "data/movimentos.h"
#include "desk/proximo_jogo.h"
#include "jogo_apoio.h"
#include "market/frmjogadores_equipas.h"
#include "market/frmlista_jog.h"
#include "market/frmvenda.h"
#include "matchday/frmequipa_adv.h"
#include "matchday/frmjogos.h"
#include "matchday/frmsubstituicoes.h"
#include "editor/frmeditor.h"
#include "platform/qt/grelha.h"
#include "season/frmfinal_camp.h"
#include "season/mudanca_epoca.h"
#include "season/frmtabelas.h"
#include "startup/mdiform1.h"
#include "stats/ecras_estatisticas.h"

namespace gv {
namespace {

namespace fs = std::filesystem;

// Names of 20 characters as people write them, with many wide letters.
const std::vector<std::string> Jogadores_Largos = {"Mamadou Wamwembe Mbo", "Amadou Mwembe Wamumo",
                                                   "Wim Wouwermans Momme", "Władysław Wawrzyniak",
                                                   "Wolfgang Mwamba Mumm"};
const std::vector<std::string> Clubes_Largos = {"Wanderers Montemorés", "Mamadou Wamwembe Mbo",
                                                "Wim Wouwermans Momme", "Władysław Wawrzyniak"};

// The wide names first, then the seed data's widest.
std::vector<std::string> largos_primeiro(const std::vector<std::string>& largos, std::vector<std::string> semente) {
    std::vector<std::string> r = largos;
    for (auto& n : semente)
        if (std::find(r.begin(), r.end(), n) == r.end()) r.push_back(std::move(n));
    return r;
}

// The seed data's names, widest first as the grids' font draws them.
std::vector<std::string> mais_largos(db::Database& mestra, const std::vector<std::string>& consultas) {
    std::vector<std::string> nomes;
    std::set<std::string> vistos;
    for (const auto& sql : consultas)
        for (auto rs = mestra.OpenRecordset(sql); !rs.Eof(); rs.MoveNext()) {
            const std::string n = rs.campo(0).texto();
            if (vistos.insert(db::chave_nome(n)).second) nomes.push_back(n);
        }
    const QFontMetrics fm(QApplication::font());
    auto largura = [&](const std::string& n) { return fm.horizontalAdvance(QString::fromStdString(n)); };
    std::stable_sort(nomes.begin(), nomes.end(), [&](auto& a, auto& b) { return largura(a) > largura(b); });
    return nomes;
}

// Lines of a shown list wider than it shows, and a list that scrolls sideways.
void ver_lista(QListWidget& l, const std::string& nome, std::vector<std::string>& r) {
    if (l.horizontalScrollBar()->maximum() > 0) r.push_back(nome + ": scrolls sideways");
    const int margem = 2 * (l.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &l) + 1);
    for (int i = 0; i < l.count(); ++i) {
        const QListWidgetItem* it = l.item(i);
        const QFont f = it->data(Qt::FontRole).isValid() ? it->font() : l.font();
        const int precisa = static_cast<int>(std::ceil(QFontMetricsF(f).horizontalAdvance(it->text()))) + margem;
        if (precisa > l.viewport()->width())
            r.push_back(nome + " line " + std::to_string(i + 1) + " " + it->text().toStdString() + ": " +
                        std::to_string(precisa) + " > " + std::to_string(l.viewport()->width()));
    }
}

// Cells whose text is wider than the column shows, and grids that scroll
// sideways: one line each. Grids on tab pages are checked with their page
// shown.
std::vector<std::string> cortes(QWidget& ecra) {
    std::vector<std::string> r;
    std::vector<Grelha*> vistas;
    std::vector<QListWidget*> listas;
    auto ver_visiveis = [&] {
        QApplication::processEvents();
        for (Grelha* g : ecra.findChildren<Grelha*>())
            if (g->isVisible() && std::find(vistas.begin(), vistas.end(), g) == vistas.end()) vistas.push_back(g);
        for (QListWidget* l : ecra.findChildren<QListWidget*>())
            if (l->isVisible() && std::find(listas.begin(), listas.end(), l) == listas.end()) {
                listas.push_back(l);
                ver_lista(*l, ecra.objectName().toStdString() + "/" + l->objectName().toStdString(), r);
            }
    };
    ver_visiveis();
    for (QTabWidget* s : ecra.findChildren<QTabWidget*>())
        for (int i = 0; i < s->count(); ++i) {
            s->setCurrentIndex(i);
            ver_visiveis();
        }
    for (Grelha* g : ecra.findChildren<Grelha*>())
        if (std::find(vistas.begin(), vistas.end(), g) == vistas.end()) r.push_back("never shown: " + g->objectName().toStdString());
    for (Grelha* g : vistas) {
        QTableWidget& t = g->tabela();
        // The text's margins, and the grid line the cell gives up.
        const int margem = 2 * (t.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &t) + 1) + (t.showGrid() ? 1 : 0);
        const std::string nome = ecra.objectName().toStdString() + "/" + g->objectName().toStdString();
        if (t.horizontalScrollBar()->maximum() > 0) r.push_back(nome + ": scrolls sideways");
        for (int c = 0; c < t.columnCount(); ++c) {
            if (t.isColumnHidden(c)) continue;
            const int largura = t.columnWidth(c);
            if (auto* h = t.horizontalHeaderItem(c); h && !h->text().isEmpty()) {
                const int precisa = t.horizontalHeader()->fontMetrics().horizontalAdvance(h->text()) +
                                    2 * t.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &t);
                if (precisa > largura) r.push_back(nome + " header " + h->text().toStdString());
            }
            for (int l = 0; l < t.rowCount(); ++l) {
                const QTableWidgetItem* it = t.item(l, c);
                if (!it || it->text().isEmpty()) continue;
                int precisa = static_cast<int>(std::ceil(QFontMetricsF(it->font()).horizontalAdvance(it->text()))) + margem;
                if (auto* lista = qobject_cast<QComboBox*>(t.indexWidget(t.model()->index(l, c)))) {
                    QStyleOptionComboBox o;
                    o.initFrom(lista);
                    const int campo = lista->style()
                                          ->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, lista)
                                          .width();
                    precisa += largura - campo;
                }
                if (precisa > largura)
                    r.push_back(nome + " (" + std::to_string(l + 1) + "," + std::to_string(c + 1) + ") " +
                                it->text().toStdString() + ": " + std::to_string(precisa) + " > " +
                                std::to_string(largura));
            }
        }
    }
    return r;
}

class Nomes_Largos : public teste::Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        recusar();
    }
    void TearDown() override {
        teste::descarregar_ecras<FrmDados, FrmJogos_Camp, FrmJogos_Taca, FrmTabelas, FrmFinal_Camp, FrmVenda,
                                 FrmLista_Jog, FrmJogadores_Equipas, FrmTranfere, FrmTransferencias_totais, FrmGolos,
                                 FrmEquipa_Adv, FrmSubstituicoes, FrmSubstituicoes_Taca, FrmCalendario,
                                 FrmCalendario_Taca, FrmAssistencias, FrmMedia_Jog, FrmGolos_Sempre,
                                 FrmHist_Treinador, FrmVencedores, FrmHist_Clubes, FrmHist_Clubes_Epoca, FrmEditor>();
        Com_Mestra::TearDown();
    }
    void recusar() {
        porta.respostas.clear();
        for (int i = 0; i < 300; ++i) porta.responder(Resposta::Nao);
    }

    // Every club and player of a new game renamed to the widest names; the
    // manager's squad grown to 32.
    void largos() {
        novo_jogo_pt();
        auto mestra = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD, db::Modo::So_Leitura);
        std::vector<std::string> consultas_clubes, consultas_jogadores{"SELECT nome_1 FROM jogadores_all"};
        for (const char* cc : Codigos_Pais) {
            consultas_clubes.push_back(std::string("SELECT clube FROM clubes_") + cc);
            consultas_clubes.push_back(std::string("SELECT clube FROM Clubes_Taca_") + cc);
            consultas_jogadores.push_back(std::string("SELECT nome FROM jogadores_") + cc);
        }
        const auto clubes = largos_primeiro(Clubes_Largos, mais_largos(*mestra, consultas_clubes));
        const auto jogadores = largos_primeiro(Jogadores_Largos, mais_largos(*mestra, consultas_jogadores));
        auto& d = *Base_Dados;
        db::Transaccao t(d);
        d.Execute("CREATE TEMP TABLE mapa (antigo TEXT COLLATE NOME, novo TEXT)");
        int i = 0;
        for (auto rs = d.OpenRecordset("SELECT clube FROM clubes UNION SELECT clube FROM clubes_taca"); !rs.Eof();
             rs.MoveNext())
            d.Execute("INSERT INTO mapa VALUES (?, ?)", {rs["clube"], clubes.at(static_cast<std::size_t>(i++))});
        const std::pair<const char*, const char*> colunas[] = {
            {"clubes", "clube"},     {"clubes_taca", "clube"}, {"clubes_taca_qualif", "clube"},
            {"jogos", "casa"},       {"jogos", "fora"},        {"jogos_taca", "casa"},
            {"jogos_taca", "fora"},  {"jogadores", "equipa"},  {"principal", "equipa"}};
        for (auto [tabela, coluna] : colunas)
            d.Execute(std::string("UPDATE ") + tabela + " SET " + coluna + " = (SELECT novo FROM mapa WHERE antigo = " +
                      coluna + ") WHERE " + coluna + " IN (SELECT antigo FROM mapa)");
        Clube_Treinador = d.valor("SELECT equipa FROM principal").texto();
        d.Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, preco, ordenado, contrato, clube_origem) "
                  "SELECT nome, equipa, pos, forca - 20, idade, preco, ordenado, contrato, '0' FROM jogadores "
                  "WHERE equipa = ? ORDER BY rowid LIMIT 12",
                  {Clube_Treinador});
        for (auto rs = d.OpenRecordset("SELECT rowid FROM jogadores"); !rs.Eof(); rs.MoveNext())
            d.Execute("UPDATE jogadores SET nome = ? WHERE rowid = ?",
                      {jogadores.at(static_cast<std::size_t>(rs.rowid() % 20)), rs.rowid()});
        d.Execute("DROP TABLE mapa");
        t.commit();
    }

    // The renamed game as it starts, and as its season ends (before the change).
    fs::path inicio() {
        return teste::modelo("largos_inicio.gv", [&](const fs::path& destino) {
            largos();
            repor_estado();
            fs::copy_file(caminho("jogo.gv"), destino);
        });
    }
    fs::path fim() {
        const fs::path de = inicio();
        return teste::modelo("largos_fim.gv", [&](const fs::path& destino) {
            abrir(de);
            Base_Dados->Execute("UPDATE principal SET T_contrato = 5");
            // The manager's own deals, in and out, under the widest names.
            for (auto rs = Base_Dados->OpenRecordset("SELECT nome, idade, pos, forca, preco FROM jogadores ORDER BY "
                                                     "length(nome) DESC LIMIT 6");
                 !rs.Eof(); rs.MoveNext())
                for (const char* tipo : {"C", "V", "E+", "E-"})
                    Registar_Transferencia(rs["idade"].int32(), rs["pos"].texto(),
                                           rs["nome"].texto() + " (" + rs["idade"].texto() + ")", rs["forca"].int32(),
                                           tipo, static_cast<long>(rs["preco"].inteiro()));
            while (Jornada_Actual <= 34) {
                recusar();
                ASSERT_EQ(Jogar_Proximo_Jogo(), Resultado_Ronda::Jogada);
            }
            repor_estado();
            fs::copy_file(caminho("jogo.gv"), destino);
        });
    }
    void abrir(const fs::path& modelo) {
        repor_estado();
        Ligacao_BD = LIGACAO_JOGO;
        fs::copy_file(modelo, caminho("jogo.gv"), fs::copy_options::overwrite_existing);
        porta.escolher(Ficheiro_Escolhido{caminho("jogo.gv"), "jogo.gv"});
        ASSERT_EQ(Carregar_Jogo(), Resultado_Jogo::Aberto);
        recusar();
    }
    // Shown and laid out as on a desktop, then its cells checked.
    template <class T>
    void ver(const std::function<void(T&)>& antes = {}) {
        T& e = instancia<T>();
        e.show();
        if (antes) antes(e);
        QApplication::processEvents();
        for (const auto& c : cortes(e)) ADD_FAILURE() << c;
        teste::descarregar_ecras<T>();
    }
    // A round screen plays its round; checked once it is over. On a display
    // 900 pixels tall, with room for a title bar, it shows every match at
    // once, no wider than the main window; on a smaller one the window fits
    // and its grid scrolls.
    template <class T>
    void ver_ronda(int jogos) {
        ver<T>([jogos](T& e) {
            ASSERT_TRUE(teste::esperar_ate([&] { return e.template findChild<QPushButton*>("Command1")->isEnabled(); },
                                           20000));
            QTableWidget& t = e.template findChild<Grelha*>("v1")->tabela();
            auto*const ok = e.template findChild<QPushButton*>("Command1");
            EXPECT_EQ(t.rowCount(), jogos);
            for (const int altura : {600, 900}) {
                e.caber_em(QRect(0, 0, 1280, altura));
                QApplication::processEvents();
                EXPECT_LE(e.height(), altura - 24);
                EXPECT_EQ(t.verticalScrollBar()->maximum() > 0, altura == 600) << altura;
                EXPECT_LE(e.template findChild<Grelha*>("v1")->geometry().bottom(), ok->y()) << altura;
                EXPECT_LE(ok->geometry().bottom(), e.height()) << altura;
            }
            // Showing every match, the screen stays inside the main window.
            EXPECT_LE(e.width() + 2 * 4, MDIForm1::Tamanho.width());
        });
    }
};

TEST_F(Nomes_Largos, ScreensOfTheMatchdayShowEveryNameWhole) {
    abrir(inicio());
    // The desk's 32 players scroll down; every column stays in view, and
    // the desk inside the main window, borders of a window manager included.
    ver<FrmDados>([](FrmDados& d) {
        EXPECT_LE(d.width() + 2 * 4, MDIForm1::Tamanho.width());
        QTableWidget& s1 = d.findChild<Grelha*>("s1")->tabela();
        QApplication::processEvents();
        EXPECT_GE(s1.rowCount(), 32);
        EXPECT_GT(s1.verticalScrollBar()->maximum(), 0);
    });
    ver<FrmVenda>();
    ver<FrmLista_Jog>();
    Clube_Consulta = Clube_Treinador;
    ver<FrmJogadores_Equipas>();
    ver<FrmEquipa_Adv>();
    ver<FrmSubstituicoes>();
    ver<FrmSubstituicoes_Taca>();
    ver<FrmCalendario>();
    ver<FrmCalendario_Taca>();
    ver_ronda<FrmJogos_Camp>(27);
    Base_Dados->Execute("UPDATE principal SET Jornada = 5");
    Jornada_Actual = 5;
    ver_ronda<FrmJogos_Taca>(contar("SELECT count(*) FROM jogos_taca"));
}

TEST_F(Nomes_Largos, ScreensOfTheSeasonShowEveryNameWhole) {
    abrir(fim());
    // Prices of millions on the desk.
    ver<FrmDados>();
    Tabelas_Modo_Consulta = 1;
    ver<FrmTabelas>();
    ver<FrmTranfere>();
    ver<FrmTransferencias_totais>();
    ver<FrmAssistencias>();
    ver<FrmMedia_Jog>();
    ver<FrmGolos>();
    // Every club's calendar, places of two digits beside the names.
    ver<FrmCalendario>([](FrmCalendario& e) {
        auto* clubes = e.findChild<QComboBox*>("Combo1");
        for (int i = 0; i < clubes->count(); ++i) {
            emit clubes->activated(i);
            for (const auto& c : cortes(e)) ADD_FAILURE() << clubes->itemText(i).toStdString() << ": " << c;
        }
    });
    ver<FrmFinal_Camp>();
    ASSERT_GT(contar("SELECT count(*) FROM transferencias"), 0);
    ASSERT_GT(contar("SELECT count(*) FROM transferencias_clubes"), 0);
    // The histories the season's change writes.
    recusar();
    ASSERT_EQ(Mudar_Epoca(nullptr), Resultado_Mudanca::Feita);
    ver<FrmGolos_Sempre>();
    ver<FrmHist_Treinador>();
    ver<FrmVencedores>();
    ver<FrmHist_Clubes>();
    ver<FrmHist_Clubes_Epoca>();
    ASSERT_GT(contar("SELECT count(*) FROM historico_clube"), 0);
}

// The editor lists the master database's clubs and players under the same names.
TEST_F(Nomes_Largos, TheEditorShowsEveryNameWhole) {
    {
        auto mestra = db::Database::abrir(caminho(NOME_BASE_MESTRA), Ligacao_BD);
        db::Transaccao t(*mestra);
        std::size_t i = 0;
        for (auto rs = mestra->OpenRecordset("SELECT rowid FROM jogadores_pt"); !rs.Eof(); rs.MoveNext())
            mestra->Execute("UPDATE jogadores_pt SET nome = ? WHERE rowid = ?",
                            {Jogadores_Largos[i++ % Jogadores_Largos.size()], rs.rowid()});
        auto rs = mestra->OpenRecordset("SELECT clube FROM clubes_pt ORDER BY clube LIMIT 4");
        for (std::size_t c = 0; !rs.Eof(); rs.MoveNext(), ++c) {
            const std::string antigo = rs["clube"].texto();
            for (const char* tabela : {"clubes_pt", "jogadores_pt"})
                mestra->Execute(std::string("UPDATE ") + tabela + (tabela[0] == 'c' ? " SET clube" : " SET equipa") +
                                    " = ? WHERE " + (tabela[0] == 'c' ? "clube" : "equipa") + " = ?",
                                {Clubes_Largos[c], antigo});
        }
        t.commit();
    }
    ver<FrmEditor>();
}

} // namespace
} // namespace gv
