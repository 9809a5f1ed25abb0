#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "ambiente_qt.h"
#include "platform/qt/interface_qt.h"

namespace gv {
namespace {

TEST(ConverterFiltro, OldFiltersBecomeQtsAndSavedNamesGetTheExtension) {
    EXPECT_EQ(converter_filtro("Jogos Golvantario (*.gv)|*.gv"), "Jogos Golvantario (*.gv)");
    EXPECT_EQ(converter_filtro("Todos os ficheiros|*.*"), "Todos os ficheiros (*.*)");
    EXPECT_EQ(converter_filtro("Jogos (*.gv)|*.gv|Bases|*.gvb;*.mdb"), "Jogos (*.gv);;Bases (*.gvb *.mdb)");
    // A description whose brackets are not its patterns still gets them.
    EXPECT_EQ(converter_filtro("Jogos (99)|*.gv"), "Jogos (99) (*.gv)");
    EXPECT_EQ(converter_filtro(""), "");
    EXPECT_EQ(converter_filtro("|*.gv"), "(*.gv)");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga", "gv"), "/jogos/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos.2024/liga", "gv"), "/jogos.2024/liga.gv");   // a dot in the folder
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.gv", "gv"), "/jogos/liga.gv");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga.txt", "gv"), "/jogos/liga.txt");
    EXPECT_EQ(acrescentar_extensao("/jogos/liga", ""), "/jogos/liga");
    EXPECT_EQ(acrescentar_extensao("C:\\jogos\\liga", "gv"), "C:\\jogos\\liga.gv");
    EXPECT_EQ(titulo_ficheiro("/jogos/liga.gv"), "liga.gv");
    EXPECT_EQ(titulo_ficheiro("liga.gv"), "liga.gv");
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
