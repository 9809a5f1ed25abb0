#include "platform/qt/interface_qt.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QLibraryInfo>
#include <QListView>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QLocale>
#include <QTranslator>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTextBoundaryFinder>

#include "platform/qt/traducoes_qt.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace gv {

namespace {

const char* const TITULO_PROGRAMA = "Golvantario 99";

QMessageBox::Icon icone_qt(Icone i) {
    switch (i) {
    case Icone::Nenhum: return QMessageBox::NoIcon;
    case Icone::Critico: return QMessageBox::Critical;
    case Icone::Pergunta: return QMessageBox::Question;
    case Icone::Exclamacao: return QMessageBox::Warning;
    case Icone::Informacao: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

struct Botao {
    QMessageBox::StandardButton qt;
    Resposta resposta;
};

std::vector<Botao> botoes_qt(Botoes b) {
    switch (b) {
    case Botoes::Ok: return {{QMessageBox::Ok, Resposta::Ok}};
    case Botoes::OkCancelar:
        return {{QMessageBox::Ok, Resposta::Ok}, {QMessageBox::Cancel, Resposta::Cancelar}};
    case Botoes::SimNao: return {{QMessageBox::Yes, Resposta::Sim}, {QMessageBox::No, Resposta::Nao}};
    case Botoes::SimNaoCancelar:
        return {{QMessageBox::Yes, Resposta::Sim},
                {QMessageBox::No, Resposta::Nao},
                {QMessageBox::Cancel, Resposta::Cancelar}};
    }
    return {{QMessageBox::Ok, Resposta::Ok}};
}

QWidget* janela_activa() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

// While a box or dialog waits for the person, the pointer is an arrow;
// the busy pointer comes back afterwards.
class Seta_Temporaria {
public:
    Seta_Temporaria() : activa_(QApplication::overrideCursor() != nullptr) {
        if (activa_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~Seta_Temporaria() {
        if (activa_) QApplication::restoreOverrideCursor();
    }
    Seta_Temporaria(const Seta_Temporaria&) = delete;
    Seta_Temporaria& operator=(const Seta_Temporaria&) = delete;
private:
    bool activa_;
};

// Whether Qt's texts are in Portuguese (Lingua_Qt).
bool em_portugues = false;

QString padroes_qt(QString padroes) {
    padroes.replace(QLatin1Char(';'), QLatin1Char(' '));
    return padroes.simplified();
}

// The file dialog's list of places as wide as its names ("Computador").
void mostrar_lugares_inteiros(QFileDialog& dialogo) {
    auto* lugares = dialogo.findChild<QListView*>(QStringLiteral("sidebar"));
    auto* divisor = dialogo.findChild<QSplitter*>(QStringLiteral("splitter"));
    if (!lugares || !divisor || divisor->count() != 2) return;
    const int precisa = lugares->sizeHintForColumn(0) + 2 * lugares->frameWidth() +
                        lugares->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lugares);
    QList<int> tamanhos = divisor->sizes();
    if (tamanhos[0] >= precisa) return;
    tamanhos[1] -= precisa - tamanhos[0];
    tamanhos[0] = precisa;
    divisor->setSizes(tamanhos);
}

// A shown window wider by `falta` pixels, as far as its screen allows, and
// still centred where it was; how much wider it is (its contents follow
// once it has been resized).
int alargar_janela(QWidget& janela, int falta) {
    const QRect ecra = janela.screen()->availableGeometry();
    const int borda = janela.frameGeometry().width() - janela.width();
    const int largura = std::min(janela.width() + falta, ecra.width() - borda);
    if (largura <= janela.width()) return 0;
    const int ganho = largura - janela.width();
    const int esquerda = janela.x() - ganho / 2;
    janela.resize(largura, janela.height());
    janela.move(std::clamp(esquerda, ecra.left(), ecra.x() + ecra.width() - largura - borda), janela.y());
    return ganho;
}

// The detail list's columns as wide as their texts ("416,00 KiB", "Jogo
// Golvantario", the date, the longest name in the folder): Qt sizes them
// for samples of its own and leaves out the cells' margins. Measured once
// the folder's files (or their details) arrive, when the list shows and
// when a folder is entered; a column only grows, so one the person widened
// stays so. The dialog grows to show them all, once the list is in view (a
// hidden list's width is none of its own); the names are cut only where
// the screen has no more room, and then the name column takes what the
// others leave.
void mostrar_colunas_inteiras(QFileDialog& dialogo) {
    auto* lista = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!lista || !lista->model()) return;
    // The name column as Qt or the person left it, and as grown here.
    const int nome_antes = lista->header()->sectionSize(0);
    auto nome_posto = std::make_shared<int>(-1);
    auto* medir = new QTimer(lista);
    medir->setSingleShot(true);
    QObject::connect(medir, &QTimer::timeout, lista, [lista, &dialogo, nome_posto] {
        const QAbstractItemView& vista = *lista;   // where the widest text is asked for publicly
        QHeaderView* cabecalho = lista->header();
        for (int c = 1; c < cabecalho->count(); ++c)
            if (const int precisa = vista.sizeHintForColumn(c); cabecalho->sectionSize(c) < precisa)
                cabecalho->resizeSection(c, precisa);
        // Columns grown here, or as wide as a dialog before left them.
        if (!lista->isVisible()) return;
        const int nomes = vista.sizeHintForColumn(0);
        const int outras = cabecalho->length() - cabecalho->sectionSize(0);
        int largura = lista->viewport()->width();
        if (const int falta = std::max(cabecalho->sectionSize(0), nomes) + outras - largura; falta > 0)
            largura += alargar_janela(dialogo, falta);
        if (const int cabe = std::min(nomes, largura - outras); cabecalho->sectionSize(0) < cabe)
            cabecalho->resizeSection(0, *nome_posto = cabe);
    });
    // Qt keeps the columns' widths for the next dialog: the name column grown
    // for this folder's names goes back, or a name too long for the screen
    // would leave every later dialog as wide as the screen.
    QObject::connect(&dialogo, &QDialog::finished, lista, [lista, nome_antes, nome_posto] {
        if (lista->header()->sectionSize(0) == *nome_posto) lista->header()->resizeSection(0, nome_antes);
    });
    const auto depois = [medir] { medir->start(0); };
    // The folder may be read before the dialog shows: measured again then.
    struct Ao_Mostrar : QObject {
        QTimer* medir;
        Ao_Mostrar(QObject* pai, QTimer* m) : QObject(pai), medir(m) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Show) medir->start(0);
            return false;
        }
    };
    lista->installEventFilter(new Ao_Mostrar(lista, medir));
    QObject::connect(lista->model(), &QAbstractItemModel::rowsInserted, medir, depois);
    QObject::connect(lista->model(), &QAbstractItemModel::dataChanged, medir, depois);
    // A folder entered may have been read before (as its path was typed).
    if (auto* ficheiros = dialogo.findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model")))
        QObject::connect(ficheiros, &QFileSystemModel::rootPathChanged, medir, depois);
    if (auto* vistas = dialogo.findChild<QStackedWidget*>(QStringLiteral("stackedWidget")))
        QObject::connect(vistas, &QStackedWidget::currentChanged, medir, depois);
}

// The dialog neither deletes nor renames: a saved game may be the one
// another window of the game plays, and Qt's question before deleting a
// folder does not say its contents go with it. Qt's menu entries for them
// are hidden and do nothing, the Delete key does nothing, and no key edits
// a name (Qt still opens a new folder's name for editing). The list's model
// (Ficheiros_Do_Jogo) takes no drop, which would move a file.
void sem_apagar_nem_mudar_nome(QFileDialog& dialogo) {
    for (const char* nome : {"qt_delete_action", "qt_rename_action"})
        if (auto* accao = dialogo.findChild<QAction*>(QLatin1StringView(nome))) {
            accao->setVisible(false);
            QObject::disconnect(accao, &QAction::triggered, nullptr, nullptr);
        }
    for (QShortcut* atalho : dialogo.findChildren<QShortcut*>())
        if (atalho->keys().contains(QKeySequence(Qt::Key_Delete))) atalho->setEnabled(false);
    for (const char* nome : {"listView", "treeView"})
        if (auto* vista = dialogo.findChild<QAbstractItemView*>(QLatin1StringView(nome)))
            vista->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

// The line `l` cut at each of its spaces outside quotes (the spaces
// dropped) or, `pastas`, after each '/' inside them. A quote with none
// after it opens nothing.
QStringList partes(const QString& l, bool pastas) {
    QStringList r{QString()};
    qsizetype depois = l.count(QLatin1Char('"'));
    bool dentro = false;
    for (const QChar c : l) {
        if (c == QLatin1Char('"')) {
            --depois;
            dentro = !dentro && depois > 0;
        }
        if (!pastas && !dentro && c == QLatin1Char(' ')) {
            r << QString();
            continue;
        }
        r.back() += c;
        if (pastas && dentro && c == QLatin1Char('/')) r << QString();
    }
    return r;
}

// The piece `p`, wider than `limite`, in pieces that each fit: cut after
// its last space that fits, else after as many characters as fit (one at
// least).
QStringList cortado(const QString& p, const QFontMetrics& fonte, int limite) {
    QStringList r;
    QString resto = p;
    while (!resto.isEmpty() && fonte.horizontalAdvance(resto) > limite) {
        QTextBoundaryFinder letras(QTextBoundaryFinder::Grapheme, resto);
        qsizetype cabe = letras.toNextBoundary();
        qsizetype espaco = -1;
        for (qsizetype f = letras.toNextBoundary(); f > 0 && fonte.horizontalAdvance(resto.left(f)) <= limite;
             f = letras.toNextBoundary()) {
            cabe = f;
            if (resto[f - 1] == QLatin1Char(' ')) espaco = f;
        }
        const qsizetype corte = espaco > 0 ? espaco : cabe;
        r << resto.left(corte);
        resto.remove(0, corte);
    }
    if (!resto.isEmpty()) r << resto;
    return r;
}

// A message's text in lines, as linhas_inteiras lays it out, and what
// each break between two of them stands for in the message: a line break
// of its own, the space it took the place of, or nothing (one inside a
// path or a word).
struct Disposicao {
    QStringList linhas;
    QStringList quebras;   // quebras[i] between linhas[i] and linhas[i + 1]
};

Disposicao dispor(const QString& texto, const QFontMetrics& fonte, int limite) {
    Disposicao d;
    // Rich text drops a carriage return: the lines are what it shows.
    for (const QString& l : QString(texto).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
        if (!d.linhas.isEmpty()) d.quebras << QStringLiteral("\n");
        QString linha;
        bool primeiro = true;
        // Each piece goes on the line while the line still fits.
        const auto por = [&](const QString& pedaco, bool espaco) {
            const QString junto = espaco ? linha + QLatin1Char(' ') + pedaco : linha + pedaco;
            if (primeiro || fonte.horizontalAdvance(junto) <= limite) {
                linha = junto;
            } else {
                d.linhas << linha;
                d.quebras << (espaco ? QStringLiteral(" ") : QString());
                linha = pedaco;
            }
            primeiro = false;
        };
        bool espaco = false;
        for (const QString& palavra : partes(l, false)) {
            // A word breaks nowhere; a quoted path too long for a line, only
            // after one of its folders, and a folder or name in it wider
            // than a whole line where the line ends.
            const bool citada = palavra.count(QLatin1Char('"')) > 1;
            const QStringList pedacos =
                fonte.horizontalAdvance(palavra) <= limite ? QStringList{palavra} : partes(palavra, true);
            for (const QString& pedaco : pedacos)
                for (const QString& p : citada && fonte.horizontalAdvance(pedaco) > limite
                                            ? cortado(pedaco, fonte, limite) : QStringList{pedaco}) {
                    por(p, espaco);
                    espaco = false;
                }
            espaco = true;
        }
        d.linhas << linha;
    }
    return d;
}

QString em_html(QStringList linhas) {
    for (QString& l : linhas) l = l.toHtmlEscaped();
    return QStringLiteral("<div style=\"white-space:pre\">") + linhas.join(QStringLiteral("<br>")) +
           QStringLiteral("</div>");
}

// While a box is up, what is copied from its text (by the keys, the menu,
// or on X11 by selecting it) says the message as it was written: a break
// the box put inside a path is no part of it, one that took a space's
// place is that space.
class Copia_Escrita : public QObject {
public:
    Copia_Escrita(QMessageBox& caixa, Disposicao d)
        : QObject(&caixa), disposicao_(std::move(d)),
          mostrado_(disposicao_.linhas.join(QChar(QChar::LineSeparator))) {
        for (QLabel* l : caixa.findChildren<QLabel*>())
            if (l->text() == caixa.text()) rotulo_ = l;
        connect(QGuiApplication::clipboard(), &QClipboard::changed, this, &Copia_Escrita::corrigir);
    }

private:
    void corrigir(QClipboard::Mode modo) {
        if (a_escrever_ || !rotulo_ || !rotulo_->hasSelectedText()) return;
        QClipboard* area = QGuiApplication::clipboard();
        const QMimeData* dados = area->mimeData(modo);
        if (!dados || !dados->hasText()) return;
        const QString posto = dados->text();
        const QString escolhido = rotulo_->selectedText();
        const qsizetype inicio = rotulo_->selectionStart();
        // Another's copy, or the text is not as laid out here.
        if (simples(escolhido) != simples(posto) || mostrado_.mid(inicio, escolhido.size()) != escolhido) return;
        const QString escrito = como_escrito(inicio, escolhido);
        if (escrito == posto) return;
        a_escrever_ = true;
        area->setText(escrito, modo);
        a_escrever_ = false;
    }

    // The box's text from `inicio` as the message has it.
    QString como_escrito(qsizetype inicio, const QString& escolhido) const {
        auto quebra = mostrado_.left(inicio).count(QChar::LineSeparator);
        QString r;
        for (const QChar c : escolhido)
            r += c == QChar::LineSeparator ? disposicao_.quebras[quebra++] : QString(c);
        return r;
    }

    // Text as Qt copies it from rich text.
    static QString simples(QString t) {
        t.replace(QChar::LineSeparator, QLatin1Char('\n')).replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return t.replace(QChar::Nbsp, QLatin1Char(' '));
    }

    const Disposicao disposicao_;
    const QString mostrado_;
    QLabel* rotulo_ = nullptr;
    bool a_escrever_ = false;
};

} // namespace

QString linhas_inteiras(const QString& texto, const QFontMetrics& fonte, int limite) {
    return em_html(dispor(texto, fonte, limite).linhas);
}

Resposta Interface_Qt::mensagem(const Mensagem& m) {
    const QString titulo = m.titulo.empty() ? QString::fromUtf8(TITULO_PROGRAMA)
                                            : QString::fromStdString(m.titulo);
    // The widest a box grows before it wraps (Qt's own limit), less its icon.
    const QRect ecra = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(0, 0, 800, 600);
    const int limite = std::min(ecra.width() - 480, 1000) - 120;
    QMessageBox caixa(icone_qt(m.icone), titulo, QString(), QMessageBox::NoButton, janela_activa());
    caixa.setTextFormat(Qt::RichText);
    Disposicao linhas = dispor(QString::fromStdString(m.texto), QFontMetrics(QApplication::font()), limite);
    caixa.setText(em_html(linhas.linhas));
    // What is copied from it is what it says: a path pasted where files are
    // looked for is found.
    caixa.setTextInteractionFlags(Qt::TextSelectableByMouse);
    new Copia_Escrita(caixa, std::move(linhas));
    const auto botoes = botoes_qt(m.botoes);
    std::vector<QAbstractButton*> criados;
    for (const Botao& b : botoes) criados.push_back(caixa.addButton(b.qt));
    const std::size_t defeito =
        m.botao_defeito >= 0 && static_cast<std::size_t>(m.botao_defeito) < criados.size()
            ? static_cast<std::size_t>(m.botao_defeito) : 0;
    caixa.setDefaultButton(static_cast<QPushButton*>(criados[defeito]));
    // Closing the box answers like its last button (Ok, No or Cancel).
    caixa.setEscapeButton(criados.back());

    Seta_Temporaria seta;
    caixa.exec();
    QAbstractButton* clicado = caixa.clickedButton();
    for (std::size_t i = 0; i < criados.size(); ++i)
        if (criados[i] == clicado) return botoes[i].resposta;
    return botoes.back().resposta;
}

std::optional<Ficheiro_Escolhido> Interface_Qt::escolher_ficheiro(const Pedido_Ficheiro& p) {
    QFileDialog dialogo(janela_activa(), QString::fromStdString(p.titulo),
                        QString::fromStdString(p.pasta_inicial), converter_filtro(p.filtro));
    dialogo.setAcceptMode(p.guardar ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialogo.setFileMode(p.guardar ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The new-game handler asks its own overwrite question.
    if (p.guardar) dialogo.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!p.extensao_defeito.empty()) dialogo.setDefaultSuffix(QString::fromStdString(p.extensao_defeito));
    // The list's sizes and dates follow the game's language, not the system's.
    dialogo.setProxyModel(new Ficheiros_Do_Jogo(em_portugues, &dialogo));
    sem_apagar_nem_mudar_nome(dialogo);
    mostrar_lugares_inteiros(dialogo);
    mostrar_colunas_inteiras(dialogo);   // after the proxy: it replaces the list's model

    Seta_Temporaria seta;
    if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList escolhidos = dialogo.selectedFiles();
    if (escolhidos.isEmpty() || escolhidos.front().isEmpty()) return std::nullopt;

    std::string caminho = escolhidos.front().toStdString();
    if (p.guardar) caminho = acrescentar_extensao(caminho, p.extensao_defeito);
    return Ficheiro_Escolhido{caminho, titulo_ficheiro(caminho)};
}

namespace {

// Qt 6 asks for its standard buttons' texts under the name of its platform
// theme; the Portuguese catalogue of Portugal holds them under the button
// box's, where earlier Qt versions asked.
class Catalogo_Qt : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* contexto, const char* texto, const char* desambiguacao, int n) const override {
        QString r = QTranslator::translate(contexto, texto, desambiguacao, n);
        if (r.isEmpty() && qstrcmp(contexto, "QPlatformTheme") == 0)
            r = QTranslator::translate("QDialogButtonBox", texto, desambiguacao, n);
        return r;
    }
};

} // namespace

bool Lingua_Qt(bool portugues) {
    static QTranslator* catalogo = nullptr;
    static QTranslator* proprias = nullptr;
    static const QLocale local_original;
    if (catalogo) QCoreApplication::removeTranslator(catalogo);
    if (proprias) QCoreApplication::removeTranslator(proprias);
    if (!portugues) {
        QLocale::setDefault(local_original);
        em_portugues = false;
        return true;
    }
    if (!catalogo) {
        auto* novo = new Catalogo_Qt(QCoreApplication::instance());
        if (!novo->load(QStringLiteral("qt_pt_PT"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete novo;
            return false;
        }
        catalogo = novo;
        proprias = Criar_Traducoes_Jogo(QCoreApplication::instance());
    }
    // The game's own texts last, so asked before Qt's catalogue; the locale
    // names file types and formats dates.
    QCoreApplication::installTranslator(catalogo);
    QCoreApplication::installTranslator(proprias);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
    em_portugues = true;
    return true;
}

void Interface_Qt::rato_ocupado() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void Interface_Qt::rato_normal() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void Interface_Qt::processar_eventos() { QCoreApplication::processEvents(); }

QString converter_filtro(const std::string& filtro_antigo) {
    const QStringList partes = QString::fromStdString(filtro_antigo).split(QLatin1Char('|'));
    QStringList filtros;
    for (qsizetype i = 0; i < partes.size(); i += 2) {
        const QString descricao = partes[i].trimmed();
        const QString padroes = i + 1 < partes.size() ? padroes_qt(partes[i + 1]) : QString();
        if (descricao.isEmpty() && padroes.isEmpty()) continue;
        if (padroes.isEmpty()) {
            filtros << descricao;
        } else if (descricao.isEmpty()) {
            filtros << QStringLiteral("(%1)").arg(padroes);
        } else if (descricao.endsWith(QStringLiteral("(%1)").arg(padroes))) {
            filtros << descricao;
        } else {
            filtros << QStringLiteral("%1 (%2)").arg(descricao, padroes);
        }
    }
    return filtros.join(QStringLiteral(";;"));
}

std::string acrescentar_extensao(const std::string& caminho, const std::string& ext) {
    if (ext.empty() || caminho.empty()) return caminho;
    const auto barra = caminho.find_last_of("/\\");
    const std::string nome = barra == std::string::npos ? caminho : caminho.substr(barra + 1);
    if (nome.empty() || nome.find('.') != std::string::npos) return caminho;
    return caminho + "." + ext;
}

std::string titulo_ficheiro(const std::string& caminho) {
    const auto barra = caminho.find_last_of("/\\");
    return barra == std::string::npos ? caminho : caminho.substr(barra + 1);
}

} // namespace gv
