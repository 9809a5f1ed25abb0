#include "startup/mdiform1.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "data/consultas.h"
#include "data/estado.h"
#include "platform/qt/caixa_imagem.h"
#include "platform/qt/navegacao.h"
#include "startup/frmentrada.h"
#include "startup/frmsplash.h"
#include "startup/frmtiler.h"
#include "startup/servicos_ecra.h"

namespace gv {

namespace {

QLabel* rotulo(QWidget* pai, const char* nome, const QString& texto, bool negrito) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    QFont f = l->font();
    f.setBold(negrito);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: rgb(230, 240, 230);"));
    l->adjustSize();
    return l;
}

} // namespace

MDIForm1::MDIForm1() : Ecra(QStringLiteral("MDIForm1")) {
    Picture1 = new CaixaImagem(this, QStringLiteral("Picture1"));
    Picture1->set_BackColor(QColor(24, 72, 38));
    connect(Picture1, &CaixaImagem::Paint, this, &MDIForm1::Picture1_Paint);

    Timer1 = new QTimer(Picture1);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [] { Rato_Normal(); });

    Label4 = rotulo(Picture1, "Label4", QStringLiteral("WEB SITE:"), true);
    Label3 = rotulo(Picture1, "Label3", QStringLiteral("http://golvantario.example.org"), false);

    QSize tamanho = Tamanho;
    if (QScreen* ecra = QGuiApplication::primaryScreen()) {
        const QRect livre = ecra->availableGeometry();
        tamanho = tamanho.boundedTo(livre.size() * 9 / 10);
        setGeometry(QRect(QPoint(), tamanho).translated(livre.center() - QRect(QPoint(), tamanho).center()));
    } else {
        resize(tamanho);
    }
    Picture1->setGeometry(rect());
    Timer1->start();
    // The contact line hides while a screen covers part of it.
    qApp->installEventFilter(this);
}

MDIForm1::~MDIForm1() { qApp->removeEventFilter(this); }

bool MDIForm1::eventFilter(QObject* alvo, QEvent* evento) {
    switch (evento->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (auto* w = qobject_cast<QWidget*>(alvo); w && w != this && w->isWindow()) colocar_contacto();
        break;
    default: break;
    }
    return Ecra::eventFilter(alvo, evento);
}

void MDIForm1::Form_Load() {
    Show();
    setWindowTitle(QStringLiteral("Golvantario 99"));
    // The splash and the entry screen run from the event loop, once Main
    // has finished; the entry screen is the first screen of the chain.
    QTimer::singleShot(0, this, &MDIForm1::arranque);
}

void MDIForm1::arranque() {
    if (a_descarregar()) return;
    instancia<FrmSplash>().Show_Modal();
    // From here the main window may be gone (the program ending): no member
    // of this screen is touched again.
    Navegacao::executar<Frmentrada>();
}

void MDIForm1::Form_Resize() {
    Picture1->setGeometry(0, 0, width(), height());
    colocar_contacto();
}

void MDIForm1::colocar_contacto() {
    const int y = Picture1->height() - Label4->height() - 10;
    Label4->move(12, y);
    Label3->move(Label4->x() + Label4->width() + 8, y);
    // Never half hidden under a screen.
    const QRect linha(Label4->mapToGlobal(QPoint(0, 0)),
                      Label3->mapToGlobal(QPoint(Label3->width() - 1, Label3->height() - 1)));
    bool coberta = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible() && !(w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup) &&
            w->frameGeometry().intersects(linha))
            coberta = true;
    Label4->setVisible(!coberta);
    Label3->setVisible(!coberta);
}

void MDIForm1::Picture1_Paint() {
    instancia<frmTiler0>().TilePicture(*Picture1);
    Picture1->update();
}

void MDIForm1::Form_Unload() {
    // There may be no open database: nothing here may stop the unload.
    try {
        Fechar_Base_Dados();
    } catch (...) {
    }
    Base_Dados.reset();
}

} // namespace gv
