#include "season/planteis.h"

#include <vector>

#include "data/estado.h"
#include "data/jogadores_novos.h"
#include "platform/aleatorio.h"
#include "season/andamento.h"

namespace gv {

void Actualizar_Plantel_Clubes() {
    auto& d = base_aberta();
    struct Clube {
        std::string nome;
        int div;
    };
    std::vector<Clube> clubes;
    {
        auto rs = d.OpenRecordset("SELECT clube, div FROM clubes WHERE clube <> ? ORDER BY rowid", {Clube_Treinador});
        for (; !rs.Eof(); rs.MoveNext()) clubes.push_back({rs["clube"].texto(), rs["div"].int32()});
    }
    for (const Clube& c : clubes) {
        Mostrar_Actualizar(c.nome);
        for (const Alvo_Plantel& alvo : Alvos_Plantel) {
            const int n = d.valor("SELECT count(*) FROM jogadores WHERE equipa = ? AND pos = ?", {c.nome, alvo.pos}).int32();
            if (n < alvo.n) Criar_Jogadores(c.nome, alvo.n - n, alvo.pos, c.div);
            else if (n > alvo.n) Dispensar_Jogadores(c.nome, alvo.pos, n - alvo.n);
        }
    }
}

void Criar_Jogadores(const std::string& clube, int n, const std::string& pos, int div) {
    auto& d = base_aberta();
    Randomize();
    for (int i = 0; i < n; ++i) {
        const std::string nome = Nome_Aleatorio();
        const auto forca = Forca_Aleatoria(div);
        if (!forca)
            throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O clube " + clube + " está numa divisão desconhecida (" +
                                                        std::to_string(div) + ")");
        const int idade = Idade_Aleatoria();
        const int contrato = Int(Rnd() * 5 + 1);
        d.Execute("INSERT INTO jogadores (nome, equipa, pos, forca, idade, contrato) VALUES (?, ?, ?, ?, ?, ?)",
                  {nome, clube, pos, *forca, idade, contrato});
    }
}

void Dispensar_Jogadores(const std::string& clube, const std::string& pos, int n) {
    if (n <= 0) return;
    auto& d = base_aberta();
    auto rs = d.OpenRecordset("SELECT rowid AS id, nome, idade FROM jogadores WHERE equipa = ? AND pos = ? "
                              "ORDER BY forca, rowid LIMIT ?",
                              {clube, pos, n});
    for (; !rs.Eof(); rs.MoveNext()) {
        Fechar_Marcador_Sempre(rs["nome"].texto(), clube, pos, rs["idade"].int32());
        d.Execute("DELETE FROM jogadores WHERE rowid = ?", {rs["id"]});
    }
}

} // namespace gv
