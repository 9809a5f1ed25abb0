#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "ambiente_qt.h"
#include "platform/qt/interface_qt.h"

namespace gv {
namespace {

TEST(ConverterFiltro, FormaAntigaParaAFormaDoQt) {
    EXPECT_EQ(converter_filtro("Jogos Golvantario (*.gv)|*.gv"), "Jogos Golvantario (*.gv)");
    EXPECT_EQ(converter_filtro("Todos os ficheiros|*.*"), "Todos os ficheiros (*.*)");
    EXPECT_EQ(converter_filtro("Jogos (*.gv)|*.gv|Bases|*.gvb;*.mdb"), "Jogos (*.gv);;Bases (*.gvb *.mdb)");
    // A description whose brackets are not its patterns still gets them.
    EXPECT_EQ(converter_filtro("Jogos (99)|*.gv"), "Jogos (99) (*.gv)");
    EXPECT_EQ(converter_filtro(""), "");
    EXPECT_EQ(converter_filtro("|*.gv"), "(*.gv)");
}

TEST(ConverterFiltro, ExtensaoETituloDoFicheiro) {
    EXPECT_EQ(acrescentar_extensao("/jogos/liga", "gv"), "/jogos/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos.2024/liga", "gv"), "/jogos.2024/liga.gv");   // a dot in the folder
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.gv", "gv"), "/jogos/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.txt", "gv"), "/jogos/liga.txt");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga", ""), "/jogos/liga");
    EXPECT_EQ(acrescentar_extensao("C:\\jogos\\liga", "gv"), "C:\\jogos\\liga.gv");
    EXPECT_EQ(titulo_ficheiro("/jogos/liga.gv"), "liga.gv");
    EXPECT_EQ(titulo_ficheiro("liga.gv"), "liga.gv");
}

TEST(InterfaceQt, RatoOcupadoNaoEmpilhaENormalRepoe) {
    Interface_Qt porta;
    porta.rato_ocupado();
    porta.rato_ocupado();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    porta.rato_normal();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    porta.rato_normal();   // already the arrow: nothing to undo
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Runs `f` on the modal window once it is up.
void quando_modal(std::function<void(QWidget*)> f) {
    auto* t = new QTimer;
    t->setInterval(10);
    QObject::connect(t, &QTimer::timeout, [t, f] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            f(w);
        }
    });
    t->start();
}

TEST(InterfaceQt, MensagemComTituloIconeEBotaoPorDefeito) {
    Interface_Qt porta;
    QString titulo;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    int botoes = 0;
    Qt::CursorShape cursor_durante = Qt::WaitCursor;
    porta.rato_ocupado();
    quando_modal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        titulo = box->windowTitle();
        icone = box->icon();
        botoes = static_cast<int>(box->buttons().size());
        cursor_durante = QApplication::overrideCursor()->shape();
        box->defaultButton()->click();
    });
    const Resposta r = porta.mensagem(Mensagem{"Vender?", Icone::Pergunta, Botoes::SimNao, {}, 1});
    EXPECT_EQ(r, Resposta::Nao);
    EXPECT_EQ(titulo, "Golvantario 99");
    EXPECT_EQ(icone, QMessageBox::Question);
    EXPECT_EQ(botoes, 2);
    EXPECT_EQ(cursor_durante, Qt::ArrowCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);   // busy again afterwards
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    porta.rato_normal();

    quando_modal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        titulo = box->windowTitle();
        icone = box->icon();
        box->defaultButton()->click();
    });
    EXPECT_EQ(porta.mensagem(Mensagem{"Sem dinheiro.", Icone::Exclamacao, Botoes::OkCancelar, "Banco", 0}),
              Resposta::Ok);
    EXPECT_EQ(titulo, "Banco");
    EXPECT_EQ(icone, QMessageBox::Warning);

    quando_modal([&](QWidget* w) { w->close(); });
    EXPECT_EQ(porta.mensagem(Mensagem{"Gravar?", Icone::Pergunta, Botoes::SimNaoCancelar, {}, 0}),
              Resposta::Cancelar);
}

// Qt's standard buttons speak the game's language: Portugal's Portuguese
// from Qt's own catalogue, English again after switching back.
TEST(InterfaceQt, StandardButtonsFollowTheGamesLanguage) {
    if (!Lingua_Qt(true)) GTEST_SKIP() << "Qt's Portuguese catalogue (qt6-translations-l10n) is not installed";
    Interface_Qt porta;
    auto textos = [&] {
        QStringList r;
        quando_modal([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons()) r << b->text();
            box->defaultButton()->click();
        });
        porta.mensagem(Mensagem{"Aceita?", Icone::Pergunta, Botoes::SimNaoCancelar, {}, 0});
        r.sort();
        return r;
    };
    EXPECT_EQ(textos(), (QStringList{"&Não", "&Sim", "Cancelar"}));
    EXPECT_TRUE(Lingua_Qt(false));
    EXPECT_EQ(textos(), (QStringList{"&No", "&Yes", "Cancel"}));
}

// A line that fits the box never breaks, so a name stays whole; a line too
// long for any box may still wrap.
TEST(InterfaceQt, AMessageLineThatFitsIsNeverBrokenInside) {
    const QFontMetrics fm(QApplication::font());
    const QString pergunta = QString::fromUtf8("O clube UNIÃO ESCALHADO NOVO (1ª Div.), oferece 1,234,567 pelo Jogador: "
                                               "Chico Soares (av)");
    const QString texto = pergunta + QStringLiteral("\nAceita VENDER o Jogador?");
    const QStringList linhas = linhas_inteiras(texto, fm, fm.horizontalAdvance(pergunta)).split(QLatin1Char('\n'));
    ASSERT_EQ(linhas.size(), 2);
    EXPECT_FALSE(linhas[0].contains(QLatin1Char(' ')));
    EXPECT_TRUE(linhas[0].contains(QString::fromUtf8("Chico\u00A0Soares")));
    EXPECT_EQ(linhas_inteiras(texto, fm, 100).split(QLatin1Char('\n'))[0], pergunta);
}

TEST(InterfaceQt, GuardarAcrescentaAExtensaoEDevolveOTitulo) {
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    Interface_Qt porta;
    QString titulo;
    QStringList filtros;
    QString directorio;
    quando_modal([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        titulo = d->windowTitle();
        filtros = d->nameFilters();
        directorio = d->directory().absolutePath();
        d->selectFile(QStringLiteral("minha_liga"));
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
    EXPECT_EQ(titulo, "Qual o nome do novo Ficheiro?");
    EXPECT_EQ(filtros, QStringList{"Jogos Golvantario (*.gv)"});
    EXPECT_EQ(directorio, QDir(pasta.path()).absolutePath());

    quando_modal([](QWidget* w) { qobject_cast<QFileDialog*>(w)->reject(); });
    p.guardar = false;
    EXPECT_FALSE(porta.escolher_ficheiro(p).has_value());
}

} // namespace
} // namespace gv
