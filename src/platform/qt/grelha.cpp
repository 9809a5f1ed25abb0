#include "platform/qt/grelha.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionTabWidgetFrame>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace gv {

namespace {

// Item data kept beside the text.
constexpr int PAPEL_BLOQUEADA = Qt::UserRole + 1;
constexpr int PAPEL_VISTO = Qt::UserRole + 2;        // 0 plain, 2 or 3 states
constexpr int PAPEL_LISTA = Qt::UserRole + 3;

Qt::CheckState estado_de(int v) {
    switch (v) {
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

int valor_de(const QVariant& estado) {
    switch (static_cast<Qt::CheckState>(estado.toInt())) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

// The leading whole number of a text ("12 abc" -> 12, "" -> 0).
int numero_inicial(const QString& t) {
    const QString s = t.trimmed();
    qsizetype fim = 0;
    if (fim < s.size() && (s[fim] == QLatin1Char('-') || s[fim] == QLatin1Char('+'))) ++fim;
    while (fim < s.size() && s[fim].isDigit()) ++fim;
    return s.left(fim).toInt();
}

} // namespace

// Ticks cycle on a click anywhere in an unlocked tick cell (or Space);
// list cells drop down their items; typed text is reported as a change.
class Delegado_Grelha : public QStyledItemDelegate {
public:
    explicit Delegado_Grelha(Grelha& g) : QStyledItemDelegate(&g), g_(g) {}

    bool editorEvent(QEvent* ev, QAbstractItemModel* modelo, const QStyleOptionViewItem& opcao,
                     const QModelIndex& indice) override {
        const int estados = indice.data(PAPEL_VISTO).toInt();
        if (estados == 0) return QStyledItemDelegate::editorEvent(ev, modelo, opcao, indice);
        if (indice.data(PAPEL_BLOQUEADA).toBool()) return false;
        bool alternar = false;
        if (ev->type() == QEvent::MouseButtonRelease) {
            auto* me = static_cast<QMouseEvent*>(ev);
            alternar = me->button() == Qt::LeftButton && opcao.rect.contains(me->position().toPoint());
        } else if (ev->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent*>(ev)->key();
            alternar = tecla == Qt::Key_Space || tecla == Qt::Key_Select;
        }
        if (!alternar) return false;
        const int novo = (valor_de(indice.data(Qt::CheckStateRole)) + 1) % estados;
        modelo->setData(indice, estado_de(novo), Qt::CheckStateRole);
        emit g_.Change(indice.column() + 1, indice.row() + 1);
        return true;
    }

    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem& opcao,
                          const QModelIndex& indice) const override {
        if (indice.data(PAPEL_LISTA).toStringList().isEmpty())
            return QStyledItemDelegate::createEditor(pai, opcao, indice);
        auto* combo = new QComboBox(pai);
        combo->setFocusPolicy(Qt::NoFocus);
        auto* self = const_cast<Delegado_Grelha*>(this);
        connect(combo, &QComboBox::activated, self, [self, combo] { emit self->commitData(combo); });
        return combo;
    }

    void setEditorData(QWidget* editor, const QModelIndex& indice) const override {
        auto* combo = qobject_cast<QComboBox*>(editor);
        if (!combo) return QStyledItemDelegate::setEditorData(editor, indice);
        const QStringList itens = indice.data(PAPEL_LISTA).toStringList();
        const QString texto = indice.data(Qt::DisplayRole).toString();
        QSignalBlocker bloqueio(combo);
        combo->clear();
        combo->addItems(itens);
        combo->setPlaceholderText(texto);
        combo->setCurrentIndex(static_cast<int>(itens.indexOf(texto)));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override {
        if (indice.data(PAPEL_BLOQUEADA).toBool()) {
            setEditorData(editor, indice);   // a locked list only shows its items
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(editor))
            modelo->setData(indice, combo->currentText(), Qt::DisplayRole);
        else
            QStyledItemDelegate::setModelData(editor, modelo, indice);
        emit g_.Change(indice.column() + 1, indice.row() + 1);
    }

private:
    Grelha& g_;
};

Grelha::Grelha(QWidget* pai, const QString& nome) : QWidget(pai), tabela_(new QTableWidget(this)) {
    setObjectName(nome);
    tabela_->setObjectName(nome.isEmpty() ? QStringLiteral("tabela") : nome + QStringLiteral("_tabela"));
    auto* esquema = new QVBoxLayout(this);
    esquema->setContentsMargins(0, 0, 0, 0);
    esquema->addWidget(tabela_);
    tabela_->setItemDelegate(new Delegado_Grelha(*this));
    tabela_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabela_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    tabela_->verticalHeader()->setVisible(false);
    tabela_->verticalHeader()->setDefaultSectionSize(tabela_->fontMetrics().height() + 6);

    connect(tabela_, &QTableWidget::cellClicked, this, [this](int r, int c) { emit Click(c + 1, r + 1); });
    connect(tabela_, &QTableWidget::cellDoubleClicked, this,
            [this](int r, int c) { emit DblClick(c + 1, r + 1); });
    connect(tabela_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int c) { emit Click(c + 1, 0); });
    connect(tabela_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int c) { emit DblClick(c + 1, 0); });
    connect(tabela_->verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int r) { emit Click(0, r + 1); });
    connect(tabela_->verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int r) { emit DblClick(0, r + 1); });
}

int Grelha::MaxRows() const { return tabela_->rowCount(); }
int Grelha::MaxCols() const { return tabela_->columnCount(); }

void Grelha::set_MaxRows(int n) {
    n = std::max(0, n);
    tabela_->setRowCount(n);
    identidades_.resize(static_cast<std::size_t>(n), 0);
    preencher_celulas();
}

void Grelha::set_MaxCols(int n) {
    n = std::max(0, n);
    tabela_->setColumnCount(n);
    colunas_.resize(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c)
        if (!tabela_->horizontalHeaderItem(c)) tabela_->setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    preencher_celulas();
}

bool Grelha::dentro(int col, int row) const {
    return col >= 1 && col <= MaxCols() && row >= 1 && row <= MaxRows();
}

QTableWidgetItem* Grelha::celula(int col, int row) const {
    return dentro(col, row) ? tabela_->item(row - 1, col - 1) : nullptr;
}

QTableWidgetItem* Grelha::criar_celula(int col, int row) {
    auto* it = new QTableWidgetItem();
    const Coluna& c = colunas_[static_cast<std::size_t>(col - 1)];
    it->setData(PAPEL_BLOQUEADA, c.bloqueada);
    it->setTextAlignment(c.alinhamento);
    if (c.visto) {
        it->setData(PAPEL_VISTO, c.tres_estados ? 3 : 2);
        it->setData(Qt::CheckStateRole, Qt::Unchecked);
    }
    acertar_flags(it);
    tabela_->setItem(row - 1, col - 1, it);
    return it;
}

void Grelha::preencher_celulas() {
    for (int r = 1; r <= MaxRows(); ++r)
        for (int c = 1; c <= MaxCols(); ++c)
            if (!tabela_->item(r - 1, c - 1)) criar_celula(c, r);
}

void Grelha::acertar_flags(QTableWidgetItem* it) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const bool bloqueada = it->data(PAPEL_BLOQUEADA).toBool();
    const bool texto_simples = it->data(PAPEL_VISTO).toInt() == 0 && it->data(PAPEL_LISTA).toStringList().isEmpty();
    if (editavel_ && !bloqueada && texto_simples) f |= Qt::ItemIsEditable;
    it->setFlags(f);
}

template <class F>
void Grelha::para_cada(int col, int row, F f) {
    const int c0 = col == -1 ? 1 : col, c1 = col == -1 ? MaxCols() : col;
    const int r0 = row == -1 ? 1 : row, r1 = row == -1 ? MaxRows() : row;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (QTableWidgetItem* it = celula(c, r)) f(it);
}

QString Grelha::Text(int col, int row) const {
    if (row == 0 && col >= 1 && col <= MaxCols()) {
        const QTableWidgetItem* h = tabela_->horizontalHeaderItem(col - 1);
        return h ? h->text() : QString();
    }
    if (col == 0 && row >= 1 && row <= MaxRows()) {
        const QTableWidgetItem* h = tabela_->verticalHeaderItem(row - 1);
        return h ? h->text() : QString();
    }
    const QTableWidgetItem* it = celula(col, row);
    if (!it) return {};
    if (it->data(PAPEL_VISTO).toInt() != 0) return QString::number(Value(col, row));
    return it->text();
}

void Grelha::set_Text(int col, int row, const QString& t) {
    if (row == 0 && col >= 1 && col <= MaxCols()) {
        tabela_->horizontalHeaderItem(col - 1)->setText(t);
        return;
    }
    if (col == 0 && row >= 1 && row <= MaxRows()) {
        QTableWidgetItem* h = tabela_->verticalHeaderItem(row - 1);
        if (!h) tabela_->setVerticalHeaderItem(row - 1, h = new QTableWidgetItem());
        h->setText(t);
        return;
    }
    QTableWidgetItem* it = celula(col, row);
    if (!it) return;
    if (it->data(PAPEL_VISTO).toInt() != 0)
        set_Value(col, row, numero_inicial(t));
    else
        it->setText(t);
}

QColor Grelha::BackColor(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    if (it && it->data(Qt::BackgroundRole).isValid()) return it->background().color();
    return tabela_->palette().color(QPalette::Base);
}

void Grelha::set_BackColor(int col, int row, const QColor& c) {
    para_cada(col, row, [&](QTableWidgetItem* it) { it->setBackground(c); });
}

QColor Grelha::ForeColor(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    if (it && it->data(Qt::ForegroundRole).isValid()) return it->foreground().color();
    return tabela_->palette().color(QPalette::Text);
}

void Grelha::set_ForeColor(int col, int row, const QColor& c) {
    para_cada(col, row, [&](QTableWidgetItem* it) { it->setForeground(c); });
}

bool Grelha::Lock(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    return it && it->data(PAPEL_BLOQUEADA).toBool();
}

void Grelha::set_Lock(int col, int row, bool bloqueado) {
    if (row == -1) {
        const int c0 = col == -1 ? 1 : col, c1 = col == -1 ? MaxCols() : col;
        for (int c = std::max(1, c0); c <= std::min(c1, MaxCols()); ++c)
            colunas_[static_cast<std::size_t>(c - 1)].bloqueada = bloqueado;
    }
    para_cada(col, row, [&](QTableWidgetItem* it) {
        it->setData(PAPEL_BLOQUEADA, bloqueado);
        acertar_flags(it);
    });
}

void Grelha::set_editavel(bool sim) {
    editavel_ = sim;
    para_cada(-1, -1, [&](QTableWidgetItem* it) { acertar_flags(it); });
}

bool Grelha::ColHidden(int col) const {
    return col >= 1 && col <= MaxCols() ? tabela_->isColumnHidden(col - 1)
                                        : col == 0 && tabela_->verticalHeader()->isHidden();
}

void Grelha::set_ColHidden(int col, bool escondida) {
    if (col >= 1 && col <= MaxCols()) tabela_->setColumnHidden(col - 1, escondida);
    if (col == 0) tabela_->verticalHeader()->setVisible(!escondida);
}

int Grelha::ColWidth(int col) const {
    return col >= 1 && col <= MaxCols() ? tabela_->columnWidth(col - 1) : 0;
}

void Grelha::set_ColWidth(int col, int pixeis) {
    if (col >= 1 && col <= MaxCols()) tabela_->setColumnWidth(col - 1, pixeis);
}

void Grelha::set_alinhamento(int col, Qt::Alignment a) {
    if (col < 1 || col > MaxCols()) return;
    colunas_[static_cast<std::size_t>(col - 1)].alinhamento = a;
    para_cada(col, -1, [&](QTableWidgetItem* it) { it->setTextAlignment(a); });
}

void Grelha::alargar_coluna(int col, int pixeis) { set_ColWidth(col, std::max(ColWidth(col), pixeis)); }

int Grelha::largura_para(const QString& texto, bool lista) const {
    const QStyle* estilo = tabela_->style();
    // The text as drawn (to the part of a pixel), its margins, and the grid
    // line the cell gives up.
    int r = static_cast<int>(std::ceil(QFontMetricsF(tabela_->font()).horizontalAdvance(texto))) +
            2 * (estilo->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tabela_) + 1) +
            (tabela_->showGrid() ? 1 : 0);
    if (lista) {
        // What a drop-down takes beside its text: the arrow and the frame.
        QComboBox modelo;
        modelo.setFont(tabela_->font());
        QStyleOptionComboBox o;
        o.initFrom(&modelo);
        o.rect = QRect(0, 0, 200, tabela_->verticalHeader()->defaultSectionSize());
        r += 200 - estilo->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, &modelo).width();
    }
    return r;
}

namespace {

// Names of 20 characters as people write them (capital initials), crowded
// with the widest letters: a column that holds the widest of these, in its
// own font, holds any real name whole.
const char* const Nomes_Largos[] = {"Mamadou Wamwembe Mbo", "Amadou Mwembe Wamumo", "Wim Wouwermans Momme",
                                    "Władysław Wawrzyniak", "Wanderers Montemorés", "Wolfgang Mwamba Mumm",
                                    "Mwamba Wamwembe Mumm"};

} // namespace

QString Grelha::nome_largo() const {
    QString r;
    int largura = -1;
    for (const char* nome : Nomes_Largos) {
        const QString n = QString::fromUtf8(nome);
        if (const int l = tabela_->fontMetrics().horizontalAdvance(n); l > largura) {
            largura = l;
            r = n;
        }
    }
    return r;
}

int Grelha::largura_nome(const QString& antes, const QString& depois, bool lista) const {
    return largura_para(antes + nome_largo() + depois, lista);
}

void Grelha::acertar_cabecalhos() {
    const QHeaderView* h = tabela_->horizontalHeader();
    const int margem = 2 * tabela_->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, tabela_) + 2;
    for (int c = 0; c < tabela_->columnCount(); ++c) {
        const QTableWidgetItem* it = tabela_->horizontalHeaderItem(c);
        if (!it || tabela_->isColumnHidden(c)) continue;
        const int precisa = h->fontMetrics().horizontalAdvance(it->text()) + margem;
        if (tabela_->columnWidth(c) < precisa) tabela_->setColumnWidth(c, precisa);
    }
}

int Grelha::largura_total() const {
    int r = 2 * tabela_->frameWidth() + tabela_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tabela_);
    if (tabela_->verticalHeader()->isVisible()) r += tabela_->verticalHeader()->width();
    for (int c = 0; c < tabela_->columnCount(); ++c)
        if (!tabela_->isColumnHidden(c)) r += tabela_->columnWidth(c);
    return r;
}

namespace {

// The width a tab strip gives its pages.
int largura_paginas(const QTabWidget& t) {
    QStyleOptionTabWidgetFrame o;
    o.initFrom(&t);
    o.rect = t.rect();
    o.shape = t.tabBar()->shape();
    o.tabBarSize = t.tabBar()->sizeHint();
    o.lineWidth = t.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &t);
    return t.style()->subElementRect(QStyle::SE_TabWidgetTabContents, &o, &t).width();
}

} // namespace

void abrir_espaco(Grelha& g, int largura) {
    QWidget* inicio = &g;
    int tem = g.width();
    if (auto* pilha = g.parentWidget(); pilha && qobject_cast<QTabWidget*>(pilha->parentWidget())) {
        auto* t = qobject_cast<QTabWidget*>(pilha->parentWidget());
        inicio = t;
        tem = largura_paginas(*t);
    }
    const int falta = largura - tem;
    if (falta <= 0) return;
    QWidget* w = inicio;
    for (; w && !w->isWindow(); w = w->parentWidget()) {
        QWidget* pai = w->parentWidget();
        if (!pai) break;
        const QRect antes = w->geometry();
        for (QObject* o : pai->children()) {
            auto* irmao = qobject_cast<QWidget*>(o);
            if (!irmao || irmao == w || irmao->isWindow()) continue;
            const QRect r = irmao->geometry();
            if (r.left() > antes.right())
                irmao->move(r.x() + falta, r.y());
            else if (r.left() <= antes.left() && r.right() >= antes.right())
                irmao->resize(r.width() + falta, r.height());   // a frame or bar across it
        }
        w->resize(antes.width() + falta, antes.height());
    }
    if (w && w->isWindow()) {
        if (w->minimumWidth() == w->maximumWidth())
            w->setFixedSize(w->width() + falta, w->height());
        else
            w->resize(w->width() + falta, w->height());
    }
}

void Grelha::set_cabecalho_linhas_visivel(bool visivel) { tabela_->verticalHeader()->setVisible(visivel); }

void Grelha::set_visto(int col, int row, bool tres_estados) {
    if (row == -1 && col >= 1 && col <= MaxCols()) {
        Coluna& c = colunas_[static_cast<std::size_t>(col - 1)];
        c.visto = true;
        c.tres_estados = tres_estados;
    }
    para_cada(col, row, [&](QTableWidgetItem* it) {
        it->setText(QString());
        it->setData(PAPEL_VISTO, tres_estados ? 3 : 2);
        it->setData(Qt::CheckStateRole, Qt::Unchecked);
        acertar_flags(it);
    });
}

bool Grelha::visto(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    return it && it->data(PAPEL_VISTO).toInt() != 0;
}

int Grelha::Value(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    if (!it || it->data(PAPEL_VISTO).toInt() == 0) return 0;
    return valor_de(it->data(Qt::CheckStateRole));
}

void Grelha::set_Value(int col, int row, int v) {
    QTableWidgetItem* it = celula(col, row);
    if (!it) return;
    const int estados = it->data(PAPEL_VISTO).toInt();
    if (estados == 0) return;
    if (v < 0 || v >= estados) v = 0;
    it->setData(Qt::CheckStateRole, estado_de(v));
}

QStringList Grelha::Lista(int col, int row) const {
    const QTableWidgetItem* it = celula(col, row);
    return it ? it->data(PAPEL_LISTA).toStringList() : QStringList();
}

void Grelha::set_Lista(int col, int row, const QStringList& itens) {
    QTableWidgetItem* it = celula(col, row);
    if (!it) return;
    tabela_->closePersistentEditor(it);
    it->setData(PAPEL_LISTA, itens);
    acertar_flags(it);
    if (!itens.isEmpty()) abrir_lista(col, row);
}

void Grelha::set_Lista(int col, int row, const std::string& separados_por_tab) {
    QStringList itens = QString::fromStdString(separados_por_tab).split(QLatin1Char('\t'));
    itens.removeAll(QString());
    set_Lista(col, row, itens);
}

void Grelha::abrir_lista(int col, int row) {
    QTableWidgetItem* it = celula(col, row);
    if (it) tabela_->openPersistentEditor(it);
}

int Grelha::ActiveCol() const { return tabela_->currentColumn() + 1; }
int Grelha::ActiveRow() const { return tabela_->currentRow() + 1; }

void Grelha::set_celula_activa(int col, int row) {
    if (dentro(col, row)) tabela_->setCurrentCell(row - 1, col - 1);
}

long long Grelha::identidade(int row) const {
    return row >= 1 && row <= MaxRows() ? identidades_[static_cast<std::size_t>(row - 1)] : 0;
}

void Grelha::set_identidade(int row, long long id) {
    if (row >= 1 && row <= MaxRows()) identidades_[static_cast<std::size_t>(row - 1)] = id;
}

int Grelha::linha_da_identidade(long long id) const {
    if (id == 0) return 0;
    auto it = std::find(identidades_.begin(), identidades_.end(), id);
    return it == identidades_.end() ? 0 : static_cast<int>(it - identidades_.begin()) + 1;
}

void Grelha::Limpar() {
    for (int r = 1; r <= MaxRows(); ++r) {
        for (int c = 1; c <= MaxCols(); ++c) {
            QTableWidgetItem* it = celula(c, r);
            if (!it) continue;
            const Coluna& col = colunas_[static_cast<std::size_t>(c - 1)];
            tabela_->closePersistentEditor(it);
            it->setText(QString());
            it->setData(Qt::BackgroundRole, QVariant());
            it->setData(Qt::ForegroundRole, QVariant());
            it->setData(PAPEL_LISTA, QVariant());
            it->setData(PAPEL_BLOQUEADA, col.bloqueada);
            if (it->data(PAPEL_VISTO).toInt() != 0) it->setData(Qt::CheckStateRole, Qt::Unchecked);
            acertar_flags(it);
        }
    }
    std::fill(identidades_.begin(), identidades_.end(), 0);
}

} // namespace gv
