#pragma once
// The game's spreadsheet grid, over a QTableWidget.
//
// Addressing is (col, row), both 1-based for data: rows 1..MaxRows,
// columns 1..MaxCols. Row 0 is the header row (its texts are the column
// headers); column 0 is the row header, hidden unless asked for. Where a
// setter says so, -1 stands for every column of a row or every row of a
// column.
//
// A locked cell cannot be changed by the person (text, tick or list
// choice). Text cells are typed into only when set_editavel(true) and not
// locked. Tick cells hold a value: 0 unchecked, 1 checked, 2 partial (three
// states) and a click cycles 0 -> 1 -> 2 -> 0 (0 <-> 1 for two states).
// A list cell shows its text and drops down its list of items.
//
// Each data row can carry an identity (a database row id): callers find a
// player again by it, never by reading his name back from the cells.

#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

namespace gv {

class Grelha : public QWidget {
    Q_OBJECT
public:
    explicit Grelha(QWidget* pai = nullptr, const QString& nome = {});

    int MaxRows() const;
    void set_MaxRows(int n);
    int MaxCols() const;
    void set_MaxCols(int n);

    // Row 0 reads and writes the column headers, column 0 the row headers.
    // A tick cell's text is its value ("0", "1", "2"); writing a text to it
    // sets the value from the text's leading number (empty: 0).
    QString Text(int col, int row) const;
    std::string texto(int col, int row) const { return Text(col, row).toStdString(); }
    void set_Text(int col, int row, const QString& t);
    void set_Text(int col, int row, const std::string& t) { set_Text(col, row, QString::fromStdString(t)); }
    void set_Text(int col, int row, const char* t) { set_Text(col, row, QString::fromUtf8(t)); }

    // Colours of data cells; -1 for a whole row or column (-1, -1: all).
    // A cell never coloured reads as the grid's own background / text colour.
    QColor BackColor(int col, int row) const;
    void set_BackColor(int col, int row, const QColor& c);
    QColor ForeColor(int col, int row) const;
    void set_ForeColor(int col, int row, const QColor& c);
    // The whole row's back colour (the same as set_BackColor(-1, row, c)).
    void set_cor_linha(int row, const QColor& c) { set_BackColor(-1, row, c); }

    // Lock of data cells; -1 for a whole row or column. Locking a whole
    // column (row -1) also locks the rows added to it later.
    bool Lock(int col, int row) const;
    void set_Lock(int col, int row, bool bloqueado);
    // Whether unlocked text cells can be typed into (off by default).
    void set_editavel(bool sim);

    bool ColHidden(int col) const;
    void set_ColHidden(int col, bool escondida);
    int ColWidth(int col) const;
    void set_ColWidth(int col, int pixeis);
    // Widens the column to at least this width; a wider one stays as it is.
    void alargar_coluna(int col, int pixeis);
    // Alignment of a column's cells, also of rows added later.
    void set_alinhamento(int col, Qt::Alignment a);
    // The width a column needs to show a text whole in the grid's font,
    // cell margins and grid line included; a list cell also needs room for
    // its arrow.
    int largura_para(const QString& texto, bool lista = false) const;
    // The width that shows whole any name of 20 characters (the longest the
    // game stores), with the texts around it, even one of many wide letters.
    int largura_nome(const QString& antes = {}, const QString& depois = {}, bool lista = false) const;
    // That widest name itself, in the grid's font, for texts holding more
    // than one name.
    QString nome_largo() const;
    // Widens every column that cannot show its header text whole.
    void acertar_cabecalhos();
    // The width the grid needs to show every visible column without
    // scrolling sideways, a vertical scroll bar included.
    int largura_total() const;
    void set_cabecalho_linhas_visivel(bool visivel);

    // Makes cells tick cells (value 0); row -1: the whole column, also rows
    // added later.
    void set_visto(int col, int row, bool tres_estados = true);
    bool visto(int col, int row) const;
    // Tick value 0, 1 or 2 (other cells: 0). Values outside the cell's
    // states are taken as 0.
    int Value(int col, int row) const;
    void set_Value(int col, int row, int v);

    // A cell's item list (empty: a plain cell). The shown text stays Text.
    QStringList Lista(int col, int row) const;
    void set_Lista(int col, int row, const QStringList& itens);
    // Items separated by tab characters.
    void set_Lista(int col, int row, const std::string& separados_por_tab);

    // The current cell; 0 when there is none.
    int ActiveCol() const;
    int ActiveRow() const;
    void set_celula_activa(int col, int row);

    // Row identity (0: none).
    long long identidade(int row) const;
    void set_identidade(int row, long long id);
    // The first row with that identity; 0 when none has it.
    int linha_da_identidade(long long id) const;

    // Empties every data cell (texts, tick values, lists, colours), puts
    // the locks back to the columns' and forgets the identities. Sizes,
    // headers, tick cells and column settings stay.
    void Limpar();

    QTableWidget& tabela() { return *tabela_; }
    const QTableWidget& tabela() const { return *tabela_; }

signals:
    // (col, row) of the cell; header clicks give row 0 or column 0.
    void Click(int col, int row);
    void DblClick(int col, int row);
    // The person changed a cell (tick, typed text or list choice).
    void Change(int col, int row);

private:
    friend class Delegado_Grelha;
    struct Coluna {
        bool bloqueada = false;
        bool visto = false;
        bool tres_estados = true;
        Qt::Alignment alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
    };

    bool dentro(int col, int row) const;
    QTableWidgetItem* celula(int col, int row) const;   // data cell, or null
    QTableWidgetItem* criar_celula(int col, int row);
    void preencher_celulas();
    void acertar_flags(QTableWidgetItem* it) const;
    void abrir_lista(int col, int row);
    template <class F>
    void para_cada(int col, int row, F f);

    QTableWidget* tabela_;
    std::vector<Coluna> colunas_;       // index col - 1
    std::vector<long long> identidades_; // index row - 1
    bool editavel_ = false;
};

// Makes room for a grid that needs `largura` pixels (its largura_total):
// the grid, or the tab strip whose page it is, grows by what it lacks, and
// so does every control holding it and the window; controls right of them
// move over. Nothing changes when the grid has room.
void abrir_espaco(Grelha& g, int largura);

} // namespace gv
