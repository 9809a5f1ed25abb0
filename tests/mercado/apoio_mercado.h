#pragma once
// A new Portuguese game for the desk's and the market's tests, with helpers
// to place players, set the balance and read rows back.

#include <sqlite3.h>

#include "desk/negocios.h"
#include "jogo_apoio.h"
#include "market/listas.h"
#include "matchday/sorteio.h"
#include "platform/falhas.h"

namespace gv::teste {

class Com_Jogo : public Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt("Cabeço Alto");   // the set's first club, named so the master is not read for it
        porta.mensagens.clear();
        outro = linha("SELECT clube FROM clubes WHERE div = 2 ORDER BY clube");
    }
    void TearDown() override {
        desarmar_falhas();
        Com_Mestra::TearDown();
    }
    void sql(const std::string& texto, const db::Parametros& p = {}) { Base_Dados->Execute(texto, p); }
    // The query's first row, its columns joined by '|'.
    std::string linha(const std::string& texto, const db::Parametros& p = {}) {
        auto rs = Base_Dados->OpenRecordset(texto, p);
        std::string r = rs.Eof() ? "(none)" : "";
        for (int i = 0; !rs.Eof() && i < rs.n_campos(); ++i) r += (i ? "|" : "") + rs.campo(i).texto();
        return r;
    }
    long principal(const char* c) { return std::stol(linha(std::string("SELECT ") + c + " FROM principal")); }
    std::string coluna(long long rowid, const std::string& c) { return linha("SELECT " + c + " FROM jogadores WHERE rowid = ?", {rowid}); }
    void saldo(long v) { sql("UPDATE principal SET d_total = ?", {v}); }
    long long jogador(const std::string& clube, const std::string& pos, int idade, int forca, long preco,
                      const std::string& nome = "Zé D'Almeida") {
        sql("INSERT INTO jogadores (nome, equipa, pos, idade, forca, preco, ordenado, contrato) VALUES (?, ?, ?, ?, ?, ?, ?, 2)",
            {nome, clube, pos, idade, forca, preco, preco / 100});
        return Base_Dados->ultimo_rowid();
    }
    // The row a list would show for that player, and a free player.
    Jogador_Listado listado(long long id, long preco, long taxa = 0) {
        auto rs = Base_Dados->OpenRecordset("SELECT * FROM jogadores WHERE rowid = ?", {id});
        return {id, rs["pos"].texto(), rs["nome"].texto(), rs["equipa"].texto(), rs["idade"].int32(), rs["forca"].int32(), 0,
                rs["contrato"].int32(), preco, taxa};
    }
    static Jogador_Listado livre(const std::string& nome, const std::string& pos, int idade, int forca, long preco) {
        return {0, pos, nome, "-", idade, forca, -1, -1, preco, -1};
    }
    const std::string& ultima() { return porta.mensagens.back().texto; }
    // The message a refused deal showed, or what happened instead.
    std::string recusa(Resultado_Negocio r) { return r == Resultado_Negocio::Recusado ? ultima() : "not refused"; }
    std::string outro;   // the first division-2 club by name
};

// Holds the given draws, then `depois` for ever.
inline std::function<double()> sorteios(std::vector<double> v, double depois) {
    return [v = std::move(v), depois, i = std::size_t{0}]() mutable { return i < v.size() ? v[i++] : depois; };
}

} // namespace gv::teste
