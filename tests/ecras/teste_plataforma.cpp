// The platform layers under every screen: the grid, the screens' single
// instances and their flat chain, and the Qt user-interface port.

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeView>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "ambiente_qt.h"
#include "platform/qt/grelha.h"
#include "platform/qt/interface_qt.h"
#include "platform/qt/navegacao.h"

namespace gv {
namespace {

// ---- The grid ----

std::unique_ptr<Grelha> nova(int cols, int rows) {
    auto g = std::make_unique<Grelha>(nullptr, QStringLiteral("s1"));
    g->set_MaxCols(cols);
    g->set_MaxRows(rows);
    return g;
}

QPoint centro(Grelha& g, int col, int row) {
    return g.tabela().visualRect(g.tabela().model()->index(row - 1, col - 1)).center();
}
void clicar(Grelha& g, int col, int row) { QTest::mouseClick(g.tabela().viewport(), Qt::LeftButton, {}, centro(g, col, row)); }

struct Grelha_Mostrada : ::testing::Test {
    void SetUp() override {
        g->resize(900, 400);
        g->show();
    }
    std::unique_ptr<Grelha> g = nova(13, 6);
};

TEST(Grelha, AddressesAreOneBasedWithHeadersInRowAndColumnZero) {
    auto g = nova(4, 3);
    g->set_Text(3, 0, "Nome");
    g->set_Text(1, 1, "primeira");
    g->set_Text(4, 3, std::string("última"));
    for (auto [c, r] : {std::pair{5, 1}, {1, 4}, {-1, 2}}) g->set_Text(c, r, "x");   // outside: nothing written
    EXPECT_EQ(g->tabela().horizontalHeaderItem(2)->text() + g->Text(3, 0) + g->Text(5, 1) + g->Text(1, 4), "NomeNome");
    EXPECT_EQ(g->texto(4, 3), "última");
    QString todas;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) todas += g->tabela().item(r, c)->text() + "|";
    EXPECT_EQ(todas.toStdString(), "primeira|" + std::string(10, '|') + "última|");
    // The row header (column 0) is hidden; columns hide by their own number.
    g->set_ColHidden(4, true);
    EXPECT_EQ(std::tuple(g->ColHidden(0), g->tabela().isColumnHidden(3), g->tabela().isColumnHidden(2)), std::tuple(true, true, false));
}

TEST(Grelha, RowsKeepTheirDataAndIdentityOnlyWhileTheyExist) {
    auto g = nova(2, 4);
    g->set_identidade(1, 501);
    g->set_identidade(3, 77);
    g->set_Text(2, 3, "c");
    g->set_Text(2, 1, "c");
    EXPECT_EQ(std::tuple(g->identidade(0), g->identidade(1), g->identidade(2), g->identidade(3), g->identidade(5)),
              std::tuple(0LL, 501LL, 0LL, 77LL, 0LL));
    g->set_MaxRows(2);
    g->set_MaxRows(4);   // the rows come back empty, with their cells
    EXPECT_EQ(g->Text(2, 3) + "/" + g->Text(2, 1), "/c");
    EXPECT_EQ(g->identidade(3), 0);
    ASSERT_NE(g->tabela().item(3, 1), nullptr);
}

TEST(Grelha, ColoursAndLocksOfACellARowAndAColumn) {
    auto g = nova(5, 4);
    const QColor base = g->BackColor(1, 1), verde(192, 255, 192), azul(0, 0, 128), branco(255, 255, 255);
    g->set_cor_linha(2, verde);
    g->set_BackColor(2, 2, azul);
    g->set_ForeColor(2, 2, branco);
    g->set_BackColor(4, -1, QColor(255, 192, 192));
    for (int c = 1; c <= 5; ++c)
        for (int r = 1; r <= 4; ++r) {
            const QColor esperada = c == 4 ? QColor(255, 192, 192) : r != 2 ? base : c == 2 ? azul : verde;
            EXPECT_EQ(g->BackColor(c, r), esperada) << c << "," << r;
        }
    EXPECT_EQ(std::pair(g->tabela().item(1, 1)->background().color(), g->ForeColor(2, 2)), std::pair(azul, branco));
    EXPECT_NE(g->ForeColor(3, 2), branco);
    // Locks by row and by column; a locked column stays locked in rows added later.
    g->set_Lock(-1, 2, true);
    g->set_Lock(3, -1, true);
    g->set_MaxRows(5);
    EXPECT_EQ(std::tuple(g->Lock(5, 2), g->Lock(5, 1), g->Lock(3, 5), g->Lock(2, 5)), std::tuple(true, false, true, false));
    // Nothing is typed into a cell: the game's grids are never editable.
    for (int c = 1; c <= 5; ++c) EXPECT_FALSE(g->tabela().item(0, c - 1)->flags().testFlag(Qt::ItemIsEditable)) << c;
}

TEST(Grelha, TickCellsHoldThreeValuesAsTheirCheckStateAndPlainCellsNone) {
    auto g = nova(3, 3);
    g->set_visto(1, -1);
    EXPECT_TRUE(g->visto(1, 3) && !g->visto(3, 1));
    const Qt::CheckState estados[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    for (int v : {1, 2, 0}) {
        g->set_Value(1, 2, v);
        EXPECT_EQ(g->Value(1, 2), v);
        EXPECT_EQ(g->tabela().item(1, 0)->checkState(), estados[v]);
    }
    // A plain cell has no value and keeps its text.
    g->set_Text(3, 1, "7");
    g->set_Value(3, 1, 1);
    EXPECT_EQ(std::pair(g->Value(3, 1), g->Text(3, 1)), std::pair(0, QStringLiteral("7")));
}

TEST_F(Grelha_Mostrada, AClickCyclesTheTickUnlessLockedAndIsAlwaysReported) {
    g->set_visto(1, -1);
    QSignalSpy mudancas(g.get(), &Grelha::Change), cliques(g.get(), &Grelha::Click);
    std::vector<int> vistos;
    for (int i = 0; i < 4; ++i) {
        clicar(*g, 1, 3);
        vistos.push_back(g->Value(1, 3));
    }
    EXPECT_EQ(vistos, (std::vector<int>{1, 2, 0, 1}));
    ASSERT_TRUE(mudancas.count() == 4 && cliques.count() == 4) << mudancas.count() << " " << cliques.count();
    EXPECT_EQ(std::pair(mudancas.at(0), cliques.at(0)), std::pair(QList<QVariant>{1, 3}, QList<QVariant>{1, 3}));
    EXPECT_EQ(g->Value(1, 2) + g->Value(1, 4), 0);   // the neighbours are untouched
    g->set_Value(1, 5, 2);
    g->set_Lock(-1, 5, true);
    clicar(*g, 1, 5);
    EXPECT_EQ(std::tuple(g->Value(1, 5), mudancas.count(), cliques.count()), std::tuple(2, qsizetype(4), qsizetype(5)));
    g->set_Lock(-1, 5, false);
    clicar(*g, 1, 5);
    EXPECT_EQ(g->Value(1, 5), 0);
}

TEST_F(Grelha_Mostrada, DoubleClicksHeaderClicksAndTheActiveCell) {
    QSignalSpy duplos(g.get(), &Grelha::DblClick), cliques(g.get(), &Grelha::Click);
    clicar(*g, 3, 4);
    EXPECT_EQ(std::pair(g->ActiveCol(), g->ActiveRow()), std::pair(3, 4));
    // A double click: a first click, then the second press reported as double.
    clicar(*g, 5, 2);
    QTest::mouseDClick(g->tabela().viewport(), Qt::LeftButton, {}, centro(*g, 5, 2));
    ASSERT_GE(duplos.count(), 1);
    EXPECT_EQ(duplos.last(), (QList<QVariant>{5, 2}));
    cliques.clear();
    QHeaderView* h = g->tabela().horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(6) + 5, h->height() / 2));
    ASSERT_EQ(cliques.count(), 1);
    EXPECT_EQ(cliques.at(0), (QList<QVariant>{7, 0}));
    g->set_celula_activa(2, 6);
    EXPECT_EQ(std::pair(g->ActiveCol(), g->ActiveRow()), std::pair(2, 6));
}

TEST(Grelha, ClearingEmptiesTheCellsButKeepsHeadersAndColumns) {
    auto g = nova(4, 3);
    g->set_Text(2, 0, "Pos");
    g->set_visto(1, -1);
    g->set_Lock(4, -1, true);
    g->set_ColHidden(4, true);
    const QColor base = g->BackColor(2, 2);
    g->set_Value(1, 2, 1);
    g->set_Text(2, 2, "md");
    g->set_cor_linha(2, QColor(255, 192, 192));
    g->set_Lock(-1, 2, true);
    g->set_identidade(2, 12);
    g->set_Lista(3, 2, std::string("a\tb"));
    g->Limpar();
    EXPECT_EQ(g->Text(2, 0) + "/" + g->Text(2, 2), "Pos/");
    EXPECT_EQ(std::tuple(g->Value(1, 2), g->identidade(2), g->MaxRows(), g->BackColor(3, 2)), std::tuple(0, 0LL, 3, base));
    // Tick cells, the column's own lock and hidden columns stay.
    EXPECT_EQ(std::tuple(g->visto(1, 2), g->Lock(2, 2), g->Lock(4, 2), g->ColHidden(4), g->Lista(3, 2).isEmpty()),
              std::tuple(true, false, true, true, true));
}

TEST_F(Grelha_Mostrada, AListCellShowsItsItemsAndAChoiceChangesItsText) {
    g->set_Text(2, 1, "Silva 80'");
    g->set_Lista(2, 1, std::string("Costa 12'\tSilva 80'\t"));
    EXPECT_EQ(g->Lista(2, 1), (QStringList{"Costa 12'", "Silva 80'"}));
    ASSERT_TRUE(g->tabela().isPersistentEditorOpen(g->tabela().item(0, 1)));
    const auto combos = g->tabela().viewport()->findChildren<QComboBox*>();
    ASSERT_EQ(combos.size(), 1);
    QComboBox* combo = combos.front();
    EXPECT_EQ(std::pair(combo->count(), combo->currentText()), std::pair(2, QStringLiteral("Silva 80'")));
    QSignalSpy mudancas(g.get(), &Grelha::Change);
    teste::escolher(combo, 0);
    EXPECT_EQ(std::pair(g->Text(2, 1), mudancas.count()), std::pair(QStringLiteral("Costa 12'"), qsizetype(1)));
}

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
        teste::descarregar_ecras<EcraContado>();
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

// ---- The Qt port ----

// The game's own filter and a plain name are seen through the dialog below;
// a name with an extension keeps it, and a dot in a folder is none.
TEST(InterfaceQt, ASavedNameGetsTheExtensionUnlessItHasOne) {
    EXPECT_EQ(acrescentar_extensao("/jogos.2024/liga", "gv"), "/jogos.2024/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.gv", "gv"), "/jogos/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.txt", "gv"), "/jogos/liga.txt");
}

// Runs `f` on the modal window once it is up (one other than `sobre`).
void quando_modal(std::function<void(QWidget*)> f, const QWidget* sobre = nullptr) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, f, sobre] {
        if (QWidget* w = QApplication::activeModalWidget(); w && w != sobre) {
            t->stop();
            t->deleteLater();
            f(w);
        }
    });
    t->start();
}

// Shows `m` and answers with the box's default button; what the box showed.
struct Caixa_Vista {
    Resposta resposta;
    QString titulo;
    QMessageBox::Icon icone;
    QStringList botoes;
    Qt::CursorShape cursor;
};
Caixa_Vista mostrar(Interface_Qt& porta, const Mensagem& m) {
    Caixa_Vista v{};
    quando_modal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        v.titulo = box->windowTitle();
        v.icone = box->icon();
        for (QAbstractButton* b : box->buttons()) v.botoes << b->text();
        v.botoes.sort();
        v.cursor = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        box->defaultButton()->click();
    });
    v.resposta = porta.mensagem(m);
    return v;
}

// The busy pointer never stacks; a message shows under the arrow, with
// the game's title or its own, its icon and default button.
TEST(InterfaceQt, AMessageHasItsTitleIconAndDefaultButtonUnderTheArrowAndTheBusyPointerDoesNotStack) {
    Interface_Qt porta;
    porta.rato_ocupado();
    porta.rato_ocupado();
    const auto v = mostrar(porta, Mensagem{"Vender?", Icone::Pergunta, Botoes::SimNao, {}, 1});
    EXPECT_EQ(std::tuple(v.resposta, v.titulo, v.icone, v.botoes.size(), v.cursor),
              std::tuple(Resposta::Nao, QStringLiteral("Golvantario 99"), QMessageBox::Question, 2, Qt::ArrowCursor));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);   // busy again afterwards
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    porta.rato_normal();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    porta.rato_normal();   // already the arrow: nothing to undo
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    const auto b = mostrar(porta, Mensagem{"Sem dinheiro.", Icone::Exclamacao, Botoes::OkCancelar, "Banco", 0});
    EXPECT_EQ(std::tuple(b.resposta, b.titulo, b.icone), std::tuple(Resposta::Ok, QStringLiteral("Banco"), QMessageBox::Warning));
    quando_modal([&](QWidget* w) { w->close(); });
    EXPECT_EQ(porta.mensagem(Mensagem{"Gravar?", Icone::Pergunta, Botoes::SimNaoCancelar, {}, 0}), Resposta::Cancelar);
}

// Qt's standard buttons speak the game's language: Portugal's Portuguese
// from Qt's own catalogue, English again after switching back.
TEST(InterfaceQt, StandardButtonsFollowTheGamesLanguage) {
    if (!Lingua_Qt(true)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
    Interface_Qt porta;
    const Mensagem m{"Aceita?", Icone::Pergunta, Botoes::SimNaoCancelar, {}, 0};
    EXPECT_EQ(mostrar(porta, m).botoes, (QStringList{"&Não", "&Sim", "Cancelar"}));
    EXPECT_TRUE(Lingua_Qt(false));
    EXPECT_EQ(mostrar(porta, m).botoes, (QStringList{"&No", "&Yes", "Cancel"}));
}

// Every text a Qt dialog shows: labels, buttons and their tips, list items,
// the views' headers and rows, menu actions. Folder paths are left out (they
// are the person's own names).
QStringList textos_de(QWidget& dialogo) {
    QStringList r;
    for (QWidget* w : dialogo.findChildren<QWidget*>()) {
        if (auto* l = qobject_cast<QLabel*>(w)) r << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) r << b->text() << b->toolTip();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
            const QAbstractItemModel& m = *v->model();
            for (int c = 0; c < m.columnCount(v->rootIndex()); ++c) {
                r << m.headerData(c, Qt::Horizontal).toString();
                for (int l = 0; l < m.rowCount(v->rootIndex()); ++l) r << m.index(l, c, v->rootIndex()).data().toString();
            }
        }
    }
    for (QAction* a : dialogo.findChildren<QAction*>()) r << a->text() << a->toolTip();
    r.removeIf([](const QString& t) { return t.startsWith(QLatin1Char('/')); });
    return r;
}

// The English words of Qt's dialogs, and misspellings ("FIcheiros"), in `textos`.
QStringList em_ingles(const QStringList& textos) {
    static const std::set<QString> ingles = {
        "Look", "in", "Computer", "Files", "File", "files", "of", "type", "name", "Name", "Date", "Modified",
        "Size", "Kind", "Type", "Back", "Forward", "Go", "Parent", "Directory", "directory", "Create", "New",
        "Folder", "List", "View", "Detail", "view", "mode", "Change", "Open", "Save", "Cancel", "Yes", "No",
        "Show", "Rename", "Delete", "hidden", "Drive", "Sidebar", "places", "bookmarks", "Recent", "Places",
        "Remove", "Unknown", "Choose", "graph", "Feb", "Apr", "May", "Aug", "Sep", "Oct", "Dec"};
    const QRegularExpression separador(QStringLiteral("[^\\p{L}]+")), erro(QStringLiteral("\\b\\p{Lu}{2}\\p{Ll}"));
    QStringList r;
    for (QString t : textos) {
        t.remove(QLatin1Char('&'));
        if (t.contains(erro)) r << t;
        for (const QString& p : t.split(separador, Qt::SkipEmptyParts))
            if (ingles.count(p)) r << t + " (" + p + ")";
    }
    return r;
}

// Every header section of a dialog's views as wide as its text, and every
// line of its shown lists (the places) as wide as the list.
QStringList cabecalhos_cortados(QWidget& dialogo) {
    QStringList r;
    for (QListView* l : dialogo.findChildren<QListView*>()) {
        if (!l->isVisible()) continue;
        for (int i = 0; i < l->model()->rowCount(l->rootIndex()); ++i) {
            const QModelIndex x = l->model()->index(i, 0, l->rootIndex());
            if (l->sizeHintForIndex(x).width() > l->viewport()->width()) r << x.data().toString();
        }
    }
    for (QHeaderView* h : dialogo.findChildren<QHeaderView*>()) {
        if (h->orientation() != Qt::Horizontal || !h->isVisible()) continue;
        const int margem = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        for (int c = 0; c < h->count(); ++c) {
            const QString t = h->model()->headerData(c, Qt::Horizontal).toString();
            if (!h->isSectionHidden(c) && h->sectionSize(c) < h->fontMetrics().horizontalAdvance(t) + margem) r << t;
        }
    }
    return r;
}

// Puts Qt's English back however a test ends.
struct Ingles_No_Fim {
    ~Ingles_No_Fim() { Lingua_Qt(false); }
};

// In Portuguese the open and save dialogs and the message boxes show no
// English word, no misspelling and no cut header; a file is still chosen.
TEST(InterfaceQt, PortugueseDialogsHaveNoEnglishWord) {
    if (!Lingua_Qt(true)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
    const Ingles_No_Fim ingles_no_fim;
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    QDir(pasta.path()).mkdir(QStringLiteral("pasta"));
    const QString jogo = pasta.filePath(QStringLiteral("liga.gv"));
    QFile f(jogo);
    // Dated in a month whose English and Portuguese names differ.
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) &&
                f.setFileTime(QDateTime(QDate(2024, 10, 15), QTime(12, 0)), QFileDevice::FileModificationTime));
    f.close();
    // Qt keeps the width of the places list a person left; a narrow one.
    QSettings("QtProject").setValue("FileDialog/sidebarWidth", 60);
    Interface_Qt porta;
    Pedido_Ficheiro p;
    p.titulo = "Abrir Ficheiro Existente";
    p.pasta_inicial = pasta.path().toStdString();
    for (const bool guardar : {false, true}) {
        QStringList ingles, cortados;
        quando_modal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(d, nullptr);
            auto* lista = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            d->setViewMode(QFileDialog::Detail);
            ASSERT_TRUE(teste::esperar_ate([&] { return lista->model()->rowCount(lista->rootIndex()) == 2; }, 5000));
            QApplication::processEvents();
            ingles = em_ingles(textos_de(*d));
            cortados = cabecalhos_cortados(*d);
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("liga.gv"));
            static_cast<QDialog*>(d)->accept();
        });
        p.guardar = guardar;
        const auto f = porta.escolher_ficheiro(p);
        EXPECT_EQ(ingles.join(" | ").toStdString(), "") << (guardar ? "save" : "open");
        EXPECT_EQ(cortados.join(" | ").toStdString(), "") << (guardar ? "save" : "open");
        ASSERT_TRUE(f.has_value());
        EXPECT_EQ(f->caminho, jogo.toStdString());
    }
    for (const Botoes b : {Botoes::Ok, Botoes::OkCancelar, Botoes::SimNao, Botoes::SimNaoCancelar}) {
        QStringList ingles;
        quando_modal([&](QWidget* w) {
            ingles = em_ingles(textos_de(*w));
            qobject_cast<QMessageBox*>(w)->defaultButton()->click();
        });
        porta.mensagem(Mensagem{"Aceita?", Icone::Pergunta, b, {}, 0});
        EXPECT_EQ(ingles.join(" | ").toStdString(), "");
    }
    // English stays as Qt has it.
    EXPECT_TRUE(Lingua_Qt(false));
    for (const char* t : {"Look in:", "Delete"})
        EXPECT_FALSE(em_ingles({QCoreApplication::translate("QFileDialog", t)}).isEmpty()) << t;
}

// The detail list's size, type and date show their texts whole, in either
// language, and all its columns fit in it.
TEST(InterfaceQt, TheFileListShowsSizeTypeAndDateWhole) {
    const Ingles_No_Fim ingles_no_fim;
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    QFile f(pasta.filePath(QStringLiteral("liga.gv")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(416 * 1024, 'x')) == 416 * 1024);
    f.close();
    // Qt keeps the columns' widths and the view a person left; its own.
    QSettings qt("QtProject");
    Pedido_Ficheiro p;
    p.pasta_inicial = pasta.path().toStdString();
    // Switched to the details, and opened on them with the columns the
    // dialog before left.
    for (const auto& [portugues, detalhes] : {std::pair{false, false}, {true, false}, {true, true}}) {
        if (!Lingua_Qt(portugues)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
        if (!detalhes) qt.remove("FileDialog/treeViewHeader");
        qt.setValue("FileDialog/viewMode", detalhes ? "Detail" : "List");
        qt.sync();
        QStringList cortados;
        quando_modal([&, detalhes = detalhes](QWidget* w) {
            auto* lista = w->findChild<QTreeView*>(QStringLiteral("treeView"));
            if (!detalhes) qobject_cast<QFileDialog*>(w)->setViewMode(QFileDialog::Detail);
            ASSERT_TRUE(teste::esperar_ate([&] { return lista->model()->rowCount(lista->rootIndex()) == 1; }, 5000));
            QApplication::processEvents();
            const int margem = 2 * (lista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lista) + 1);
            for (const int c : {1, 2, 3}) {
                const QString t = lista->model()->index(0, c, lista->rootIndex()).data().toString();
                if (t.isEmpty() || lista->columnWidth(c) < lista->fontMetrics().horizontalAdvance(t) + margem)
                    cortados << t;
            }
            if (lista->header()->length() > lista->viewport()->width()) cortados << "beyond the list";
            static_cast<QDialog*>(w)->reject();
        });
        EXPECT_FALSE(Interface_Qt().escolher_ficheiro(p).has_value());
        EXPECT_EQ(cortados.join(" | ").toStdString(), "") << (portugues ? "pt" : "en") << (detalhes ? ", details" : "");
    }
}

// The row of `nome` in a file dialog's view (invalid when it is not there).
QModelIndex linha(const QAbstractItemView& vista, const QString& nome, int coluna = 0) {
    const QAbstractItemModel& m = *vista.model();
    for (int l = 0; l < m.rowCount(vista.rootIndex()); ++l)
        if (const QModelIndex x = m.index(l, 0, vista.rootIndex()); x.data().toString() == nome) return x.siblingAtColumn(coluna);
    return {};
}

// Neither dialog deletes nor renames a file or a folder, whatever the person
// tries: every entry of the list's menu, the Delete key and F2 (then a new
// name typed) on a file and on a folder, in either view, each question
// answered Yes; nor does a file dropped on a folder move into it.
TEST(InterfaceQt, TheFileDialogsNeitherDeleteNorRename) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QDir dir(pasta.path());
    ASSERT_TRUE(dir.mkdir(QStringLiteral("pasta")));
    for (const char* nome : {"liga.gv", "pasta/dentro.gv"}) {
        QFile f(dir.filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QSettings("QtProject").remove("FileDialog/viewMode");
    Pedido_Ficheiro p;
    p.pasta_inicial = pasta.path().toStdString();
    for (const bool guardar : {false, true}) {
        // Every question (deleting, a name taken) answered Yes, or as it offers.
        QTimer sim;
        QObject::connect(&sim, &QTimer::timeout, [] {
            if (auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                (caixa->button(QMessageBox::Yes) ? caixa->button(QMessageBox::Yes) : caixa->buttons().value(0))->click();
        });
        sim.start(10);
        quando_modal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            // A name being edited in the list gets a new one, each its own.
            int nomes = 0;
            const auto novo_nome = [d, &nomes] {
                auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
                if (editor && d->findChild<QStackedWidget*>(QStringLiteral("stackedWidget"))->isAncestorOf(editor)) {
                    QTest::keyClicks(editor, QStringLiteral("outro%1").arg(++nomes));
                    QTest::keyClick(editor, Qt::Key_Return);
                }
                QApplication::processEvents();
            };
            for (const auto modo : {QFileDialog::List, QFileDialog::Detail}) {
                d->setViewMode(modo);
                auto* vista = d->findChild<QAbstractItemView*>(modo == QFileDialog::List ? "listView" : "treeView");
                // Once listed, or gone (a fault): what is left is still tried.
                teste::esperar_ate([&] { return linha(*vista, "liga.gv").isValid() && linha(*vista, "pasta").isValid(); }, 5000);
                for (const QString nome : {"liga.gv", "pasta"}) {
                    const auto escolher = [&] {
                        vista->setFocus();
                        vista->setCurrentIndex(linha(*vista, nome));
                        return vista->currentIndex().isValid();
                    };
                    if (!escolher()) continue;
                    d->activateWindow();
                    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
                    QList<QAction*> menu;
                    QTimer fechar;
                    QObject::connect(&fechar, &QTimer::timeout, [&] {
                        if (QWidget* m = QApplication::activePopupWidget()) {
                            for (QAction* a : m->actions())
                                if (a->isVisible() && a->isEnabled() && !a->isSeparator()) menu << a;
                            m->close();
                        }
                    });
                    fechar.start(10);
                    const QPoint onde = vista->visualRect(vista->currentIndex()).center();
                    QContextMenuEvent clique(QContextMenuEvent::Mouse, onde, vista->viewport()->mapToGlobal(onde));
                    QApplication::sendEvent(vista->viewport(), &clique);
                    fechar.stop();
                    EXPECT_FALSE(menu.isEmpty());
                    for (QAction* a : menu) {
                        if (!escolher()) break;
                        a->trigger();
                        novo_nome();
                    }
                    for (const auto tecla : {Qt::Key_Delete, Qt::Key_F2}) {
                        if (!escolher()) break;
                        QTest::keyClick(vista, tecla);
                        novo_nome();
                    }
                }
                // A drop of the file on the folder, as the list would make it.
                QAbstractItemModel& m = *vista->model();
                if (const QModelIndex jogo = linha(*vista, "liga.gv"); jogo.isValid()) {
                    std::unique_ptr<QMimeData> dados(m.mimeData({jogo}));
                    m.dropMimeData(dados.get(), Qt::MoveAction, -1, -1, linha(*vista, "pasta"));
                }
            }
            d->reject();
        });
        p.guardar = guardar;
        EXPECT_FALSE(Interface_Qt().escolher_ficheiro(p).has_value());
        EXPECT_TRUE(dir.exists("liga.gv") && dir.exists("pasta/dentro.gv")) << (guardar ? "save" : "open")
            << ": " << dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(", ").toStdString();
    }
}

// The detail list calls a saved game so, in the game's language, and keeps
// Qt's type for other files; sizes take the language's decimal mark (Qt's
// own look in English).
TEST(InterfaceQt, TheFileListNamesASavedGameAndWritesSizesInTheGamesLanguage) {
    const Ingles_No_Fim ingles_no_fim;
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    QDir(pasta.path()).mkdir(QStringLiteral("pasta"));
    for (const char* nome : {"liga.gv", "notas.txt"}) {
        QFile f(pasta.filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(412 * 1024, 'x')) == 412 * 1024);
    }
    Pedido_Ficheiro p;
    p.pasta_inicial = pasta.path().toStdString();
    for (const bool portugues : {true, false}) {
        if (!Lingua_Qt(portugues)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
        QStringList visto, de_qt;   // size and type of the game, of the text and of the folder
        quando_modal([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            d->setNameFilter(QStringLiteral("*"));
            d->setViewMode(QFileDialog::Detail);
            auto* lista = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            const auto* qt = d->findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
            ASSERT_TRUE(teste::esperar_ate([&] { return lista->model()->rowCount(lista->rootIndex()) == 3; }, 5000));
            for (const char* nome : {"liga.gv", "notas.txt", "pasta"})
                for (const int c : {1, 2}) {
                    visto << linha(*lista, nome, c).data().toString();
                    de_qt << qt->index(pasta.filePath(nome), c).data().toString();
                }
            d->reject();
        });
        Interface_Qt().escolher_ficheiro(p);
        const QString jogo = portugues ? "Jogo Golvantario" : "Golvantario game";
        const QString tamanho = portugues ? "412,00 KiB" : de_qt.value(0);
        EXPECT_EQ(visto.join(" | ").toStdString(),
                  QStringList({tamanho, jogo, tamanho, de_qt.value(3), "", de_qt.value(5)}).join(" | ").toStdString());
        EXPECT_NE(de_qt.value(1), jogo);
    }
}

// A long name shows whole in the detail list, the dialog growing for it,
// whether the dialog opens on its folder or the person goes there by typing
// its path; one longer than the screen allows is cut only once the dialog
// is as wide as the screen, and the other columns still show whole. In
// Portuguese and without places: short dates and no places leave room for
// such a name on the tests' narrow screen.
TEST(InterfaceQt, ALongNameIsCutOnlyWhereTheScreenEnds) {
    const Ingles_No_Fim ingles_no_fim;
    if (!Lingua_Qt(true)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString jogos = pasta.filePath(QStringLiteral("jogos"));
    QDir(pasta.path()).mkdir(QStringLiteral("jogos"));
    QSettings qt("QtProject");
    qt.remove("FileDialog/treeViewHeader");
    qt.setValue("FileDialog/viewMode", "Detail");
    // No places, and their list narrow.
    qt.remove("FileDialog/shortcuts");
    qt.setValue("FileDialog/sidebarWidth", 60);
    const QString longo = QString::fromUtf8("Liga de Veteranos de Vila Real, a época de 2031 a 2032.gv");
    const QString demais = QString(longo).replace(".gv", " ").repeated(3) + ".gv";
    for (const auto& [nome, escrito] : {std::pair{demais, false}, {longo, false}, {longo, true}}) {
        QFile f(QDir(jogos).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        bool inteiro = false, no_limite = false;
        QString colunas;   // whether the size, type and date show whole
        quando_modal([&, nome = nome, escrito = escrito](QWidget* w) {
            auto* lista = w->findChild<QTreeView*>(QStringLiteral("treeView"));
            if (escrito) {
                // The folder read first, as typing its path reads it, then entered.
                auto* qt = w->findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
                qt->fetchMore(qt->index(jogos));
                const QModelIndex tipo = qt->index(QDir(jogos).filePath(nome), 2);
                ASSERT_TRUE(teste::esperar_ate([&] { return !tipo.data().toString().isEmpty(); }, 5000));
                QTest::qWait(200);
                auto* caminho = w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                caminho->setText(jogos + "/");
                QTest::keyClick(caminho, Qt::Key_Return);
            }
            const auto medido = [&] {
                const QModelIndex x = linha(*lista, nome);
                const auto inteira = [&](int c) {
                    const QRect r = lista->visualRect(x.siblingAtColumn(c));
                    return lista->viewport()->rect().contains(r) && r.width() >= lista->sizeHintForIndex(x.siblingAtColumn(c)).width();
                };
                inteiro = x.isValid() && inteira(0);
                no_limite = w->frameGeometry().width() == w->screen()->availableGeometry().width();
                colunas.clear();
                for (int c = 1; c < 4; ++c) colunas += x.isValid() && inteira(c) ? "+" : "-";
                return (inteiro || no_limite) && colunas == "+++";
            };
            teste::esperar_ate(medido, 2000);
            static_cast<QDialog*>(w)->reject();
        });
        Pedido_Ficheiro p;
        p.pasta_inicial = (escrito ? pasta.path() : jogos).toStdString();
        EXPECT_FALSE(Interface_Qt().escolher_ficheiro(p).has_value());
        EXPECT_EQ(std::tuple(inteiro, no_limite, colunas.toStdString()), std::tuple(nome == longo, nome != longo, "+++"))
            << nome.size() << (escrito ? ", typed" : "");
        QFile::remove(f.fileName());
    }
}

// The lines of a message as linhas_inteiras lays them out, laid out again
// by the box's own rich text at `largura` pixels.
QStringList dispostas(const QString& rico, int largura = 100000) {
    QTextDocument d;
    d.setDefaultFont(QApplication::font());
    d.setHtml(rico);
    d.setTextWidth(largura);
    d.size();
    QStringList r;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
        for (int i = 0; i < b.layout()->lineCount(); ++i) {
            const QTextLine l = b.layout()->lineAt(i);
            r << b.text().mid(l.textStart(), l.textLength()).remove(QChar(QChar::LineSeparator));
        }
    return r;
}

// A line that fits the box never breaks, so a name stays whole; a line too
// long for any box breaks at its spaces alone.
TEST(InterfaceQt, AMessageLineThatFitsIsNeverBrokenInside) {
    const QFontMetrics fm(QApplication::font());
    const QString pergunta = QString::fromUtf8("O clube UNIÃO ESCALHADO NOVO (1ª Div.), oferece 1,234,567 pelo Jogador: "
                                               "Chico Soares (av)");
    const QString texto = pergunta + QStringLiteral("\nAceita VENDER o Jogador?");
    const QStringList linhas = dispostas(linhas_inteiras(texto, fm, fm.horizontalAdvance(pergunta)), 50);
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_EQ(linhas[0].trimmed(), pergunta);
    const QStringList estreitas = dispostas(linhas_inteiras(texto, fm, 100));
    EXPECT_GT(estreitas.size(), 4);
    EXPECT_EQ(estreitas.join(QLatin1Char(' ')).simplified(), QString(texto).replace(QLatin1Char('\n'), QLatin1Char(' ')));
}

// A hyphen inside a word binds it, in a line that fits and in one that
// wraps, and the box shows it so, with the hyphen as it was written.
TEST(InterfaceQt, AWordIsNeverBrokenAtItsHyphen) {
    const QFontMetrics fm(QApplication::font());
    const QString texto = QString::fromUtf8("Wolfgang Mwamba Mumm Transferiu-se para o Wanderers Montemorés.\nResultado: 3 - 1");
    const auto inteira = [](const QStringList& linhas) {
        return std::any_of(linhas.begin(), linhas.end(),
                           [](const QString& l) { return l.split(QLatin1Char(' ')).contains(QStringLiteral("Transferiu-se")); });
    };
    for (const int limite : {60, 2000}) {
        const QStringList linhas = dispostas(linhas_inteiras(texto, fm, limite), limite);
        EXPECT_TRUE(inteira(linhas)) << linhas.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(linhas.join(QString()).count(QLatin1Char('-')), 2) << limite;
    }
    Interface_Qt porta;
    QString mostrado;
    quando_modal([&](QWidget* w) {
        mostrado = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        qobject_cast<QMessageBox*>(w)->defaultButton()->click();
    });
    porta.mensagem(Mensagem{texto.toStdString(), Icone::Informacao, Botoes::Ok, {}, 0});
    EXPECT_TRUE(inteira(dispostas(mostrado)));
}

// A file's path in quotes, laid out as the box lays it out, stays on one
// line where it fits one, and the words around it wrap; one too long for
// a line breaks only after a folder, never inside the file's name.
TEST(InterfaceQt, AFilesNameInQuotesIsNeverBrokenInside) {
    const QFontMetrics fm(QApplication::font());
    const QString caminho = QStringLiteral("/tmp/gvgui/c2pt/o-meu jogo (2).gv");
    const QString texto = QString::fromUtf8("Tudo o que jogou até aqui foi guardado em \"") + caminho +
                          QStringLiteral("\". Para continuar, abra esse ficheiro.");
    auto linhas = [&](int largura) { return dispostas(linhas_inteiras(texto, fm, largura), largura); };
    // Wide enough for the words before the path and its first folders.
    const QStringList largas =
        linhas(fm.horizontalAdvance(QString::fromUtf8("Tudo o que jogou até aqui foi guardado em \"/tmp/gvgui/c2pt/")) + 4);
    EXPECT_GT(largas.size(), 1);
    EXPECT_TRUE(std::any_of(largas.begin(), largas.end(), [&](const QString& l) { return l.contains(caminho); }))
        << largas.join(QLatin1Char('|')).toStdString();
    const QString nome = QStringLiteral("o-meu jogo (2).gv");
    const QStringList estreitas = linhas(fm.horizontalAdvance(nome) + 10);
    EXPECT_TRUE(std::any_of(estreitas.begin(), estreitas.end(), [&](const QString& l) { return l.contains(nome); }))
        << estreitas.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(std::all_of(estreitas.begin(), estreitas.end(), [&](const QString& l) {
        return !l.contains(QStringLiteral("/tmp")) || l.endsWith(QLatin1Char('/'));
    })) << estreitas.join(QLatin1Char('|')).toStdString();
}

// What a person selects in a message box and copies is the path as it is
// on the disk, with nothing put inside it to keep it on its line.
TEST(InterfaceQt, APathCopiedFromAMessageIsThePathItself) {
    // Short enough for a line of the smallest box.
    const QString caminho = QStringLiteral("/tmp/o-meu & <2>.gv");
    const QString texto = QString::fromUtf8("O ficheiro do jogo \"jogo.gv\" foi movido enquanto o jogo estava aberto. "
                                            "Tudo o que jogou até aqui foi guardado em \"") +
                          caminho + QStringLiteral("\". Para continuar, abra esse ficheiro.");
    QString copiado;
    bool selecionavel = false;
    quando_modal([&](QWidget* w) {
        auto* rotulo = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        selecionavel = rotulo->textInteractionFlags() & Qt::TextSelectableByMouse;
        QTextDocument d;
        d.setHtml(rotulo->text());
        rotulo->setSelection(0, static_cast<int>(d.toPlainText().size()));
        copiado = rotulo->selectedText();
        qobject_cast<QMessageBox*>(w)->defaultButton()->click();
    });
    Interface_Qt().mensagem(Mensagem{texto.toStdString(), Icone::Informacao, Botoes::Ok, {}, 0});
    EXPECT_TRUE(selecionavel);
    EXPECT_TRUE(copiado.contains(QLatin1Char('"') + caminho + QLatin1Char('"'))) << copiado.toStdString();
    for (const char16_t c : {u'\u00A0', u'\u2060', u'\u2011'}) EXPECT_FALSE(copiado.contains(QChar(c))) << int(c);
}

// A path longer than any box's line, with two folders each wider than the
// box alone, one of them of many words, and the message that names it.
const QString caminho_comprido = QStringLiteral("/home/treinador/jogos/") +
                                 QStringLiteral("campeonato-nacional-").repeated(12) + QLatin1Char('/') +
                                 QStringLiteral("liga de honra ").repeated(8) +
                                 QString::fromUtf8("/época 1999/o-meu jogo (2).gv");
const QString guardado_em = QString::fromUtf8("Tudo o que jogou até aqui foi guardado em \"") + caminho_comprido +
                            QStringLiteral("\". Para continuar, abra esse ficheiro.");

// The whole path shows, however wide its folders: each line of the box's
// text lies within what the box shows of its label, and the lines hold
// the path; a folder wider than a line is cut where the line ends, after
// a word where it has words.
TEST(InterfaceQt, APathWithAFolderWiderThanTheBoxIsShownWhole) {
    QStringList linhas;
    QRect visivel, ocupado;
    quando_modal([&](QWidget* w) {
        auto* rotulo = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        linhas = dispostas(rotulo->text());
        const QFontMetrics fm(rotulo->font());
        int largura = 0;
        for (const QString& l : linhas) largura = std::max(largura, fm.horizontalAdvance(l));
        ocupado = QRect(rotulo->contentsRect().topLeft(), QSize(largura, int(linhas.size()) * fm.lineSpacing()));
        visivel = rotulo->contentsRect() & QRect(rotulo->mapFrom(w, QPoint()), w->size());
        qobject_cast<QMessageBox*>(w)->defaultButton()->click();
    });
    Interface_Qt().mensagem(Mensagem{guardado_em.toStdString(), Icone::Informacao, Botoes::Ok, {}, 0});
    EXPECT_TRUE(linhas.join(QString()).contains(caminho_comprido)) << linhas.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(visivel.contains(ocupado)) << ocupado.width() << " wide, " << visivel.width() << " shown";
    // The folder of words is cut between them.
    EXPECT_TRUE(std::all_of(linhas.begin(), linhas.end(), [](const QString& l) {
        return !l.contains(QStringLiteral("honra")) || l.endsWith(QLatin1Char(' ')) || l.endsWith(QLatin1Char('/'));
    })) << linhas.join(QLatin1Char('|')).toStdString();
}

// What a person copies from the box with the keys, all of its text or a
// part, holds the path as it is on the disk, on one line, wherever the box
// broke it.
TEST(InterfaceQt, APathCopiedFromAMessageIsOnOneLineWhereverTheBoxBreaksIt) {
    QStringList copiados, linhas;
    quando_modal([&](QWidget* w) {
        auto* rotulo = w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        linhas = dispostas(rotulo->text());
        const auto copiar = [&] {
            QApplication::clipboard()->clear();
            QTest::keyClick(rotulo, Qt::Key_C, Qt::ControlModifier);
            copiados << QApplication::clipboard()->text();
        };
        QTest::keyClick(rotulo, Qt::Key_A, Qt::ControlModifier);
        copiar();
        // From the path's first folder to its end.
        QTextDocument d;
        d.setHtml(rotulo->text());
        const QString mostrado = d.toRawText();
        const auto inicio = mostrado.indexOf(QStringLiteral("/home"));
        rotulo->setSelection(int(inicio), int(mostrado.indexOf(QStringLiteral(".gv")) + 3 - inicio));
        copiar();
        qobject_cast<QMessageBox*>(w)->defaultButton()->click();
    });
    Interface_Qt().mensagem(Mensagem{guardado_em.toStdString(), Icone::Informacao, Botoes::Ok, {}, 0});
    // The box shows the path broken.
    EXPECT_FALSE(std::any_of(linhas.begin(), linhas.end(), [](const QString& l) { return l.contains(caminho_comprido); }));
    ASSERT_EQ(copiados.size(), 2);
    EXPECT_EQ(copiados[0].toStdString(), guardado_em.toStdString());
    EXPECT_EQ(copiados[1].toStdString(), caminho_comprido.toStdString());
}

TEST(InterfaceQt, SavingAddsTheExtensionAndAnswersTheFilesTitle) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    Interface_Qt porta;
    QStringList visto;   // title, filters, folder
    quando_modal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        visto << d->windowTitle() << d->nameFilters().join(";") << d->directory().absolutePath();
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("minha_liga"));
        static_cast<QDialog*>(d)->accept();
    });
    Pedido_Ficheiro p;
    p.guardar = true;
    p.titulo = "Qual o nome do novo Ficheiro?";
    p.pasta_inicial = pasta.path().toStdString();
    const auto f = porta.escolher_ficheiro(p);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->caminho, pasta.filePath(QStringLiteral("minha_liga.gv")).toStdString());
    EXPECT_EQ(f->titulo, "minha_liga.gv");
    EXPECT_EQ(visto, (QStringList{"Qual o nome do novo Ficheiro?", "Jogos Golvantario (*.gv)", QDir(pasta.path()).absolutePath()}));

    quando_modal([](QWidget* w) { qobject_cast<QFileDialog*>(w)->reject(); });
    p.guardar = false;
    EXPECT_FALSE(porta.escolher_ficheiro(p).has_value());
}

} // namespace
} // namespace gv
