#pragma once
// A new Portuguese game for the market's tests, with helpers to place
// players, set the balance and read back principal.

#include "jogo_apoio.h"
#include "market/listas.h"

namespace gv::teste {

class Mercado : public Com_Mestra {
protected:
    void SetUp() override {
        Com_Mestra::SetUp();
        novo_jogo_pt();
        porta.mensagens.clear();
        outro = Base_Dados->valor("SELECT clube FROM clubes WHERE clube <> ? AND div = 2 ORDER BY clube LIMIT 1",
                                  {Clube_Treinador}).texto();
    }
    long principal(const char* c) {
        return static_cast<long>(Base_Dados->valor(std::string("SELECT ") + c + " FROM principal").inteiro());
    }
    void saldo(long v) { Base_Dados->Execute("UPDATE principal SET d_total = ?", {v}); }
    long long jogador(const std::string& clube, const std::string& pos, int idade, int forca, long preco,
                      const std::string& nome = "Zé D'Almeida") {
        Base_Dados->Execute("INSERT INTO jogadores (nome, equipa, pos, idade, forca, preco, ordenado, contrato) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, 2)",
                            {nome, clube, pos, idade, forca, preco, preco / 100});
        return Base_Dados->ultimo_rowid();
    }
    std::string coluna(long long rowid, const char* c) {
        return Base_Dados->valor(std::string("SELECT ") + c + " FROM jogadores WHERE rowid = ?", {rowid}).texto();
    }
    // The row a list would show for that player.
    Jogador_Listado listado(long long rowid, long preco, long taxa = 0) {
        auto rs = Base_Dados->OpenRecordset("SELECT * FROM jogadores WHERE rowid = ?", {rowid});
        Jogador_Listado j;
        j.rowid = rowid;
        j.pos = rs["pos"].texto();
        j.nome = rs["nome"].texto();
        j.clube = rs["equipa"].texto();
        j.idade = rs["idade"].int32();
        j.forca = rs["forca"].int32();
        j.contrato = rs["contrato"].int32();
        j.golos = 0;
        j.preco = preco;
        j.taxa = taxa;
        return j;
    }
    const std::string& ultima() { return porta.mensagens.back().texto; }
    std::string outro;   // a division 2 club other than the manager's
};

} // namespace gv::teste
