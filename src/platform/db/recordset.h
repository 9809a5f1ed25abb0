#pragma once
// Recordsets: the rows of a query kept in memory and walked with the old
// database objects' moves, written back to their table by row identity.

#include <string>
#include <utility>
#include <vector>

#include "platform/db/valor.h"

namespace gv::db {

class Database;

// A snapshot of a query's rows kept in memory, with each row's identity
// (the engine's rowid) when updatable. Edits, additions and deletions go
// straight to the database; a deleted row is skipped by later moves.
class Recordset {
public:
    Recordset() = default;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    bool Eof() const;            // past the last row (or empty)
    bool Bof() const;            // before the first row (or empty)
    int RecordCount() const;     // rows not deleted
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int n);            // relative to the current row

    // Current row's field, by name without regard to case.
    const Valor& operator[](const std::string& campo) const;
    const Valor& campo(int indice) const;
    int n_campos() const { return static_cast<int>(nomes_.size()); }
    const std::string& nome_campo(int i) const { return nomes_[i]; }
    long long rowid() const;     // identity of the current row

    void AddNew();
    void Edit();
    void set(const std::string& campo, const Valor& v);
    void Update();
    void CancelUpdate();
    void Delete();
    void Close();
    bool actualizavel() const { return !tabela_.empty(); }

private:
    friend class Database;
    enum class Edicao { Nenhuma, Nova, Alterar };
    int indice_campo(const std::string& campo) const;
    void exigir_registo() const;
    void saltar_apagados(int passo);

    Database* db_ = nullptr;
    std::string tabela_;                       // table updated; empty: read-only
    std::vector<std::string> nomes_;           // result column names
    std::vector<std::string> colunas_base_;    // table column per result column ("" if none)
    std::vector<std::vector<Valor>> linhas_;
    std::vector<long long> rowids_;
    std::vector<char> apagada_;
    int pos_ = 0;                              // -1 BOF, size() EOF
    int vivas_ = 0;
    Edicao edicao_ = Edicao::Nenhuma;
    std::vector<std::pair<std::string, Valor>> pendentes_;
};

} // namespace gv::db
