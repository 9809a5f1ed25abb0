#include "data/jogadores_novos.h"

#include <cmath>
#include <vector>

#include "data/esquema.h"
#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"

namespace gv {

std::string Nome_Aleatorio() {
    Randomize();
    auto& d = base_aberta();
    const int n = d.valor("SELECT count(*) FROM jogadores_all").int32();
    if (n <= 0) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "A lista de nomes para jogadores novos está vazia");
    const int k = Int(Rnd() * n);
    return d.valor("SELECT nome_1 FROM jogadores_all ORDER BY rowid LIMIT 1 OFFSET ?", {k}).texto();
}

std::optional<int> Forca_Aleatoria(int div) {
    Randomize();
    switch (div) {
    case 1: return Int(Rnd() * 40) + 50;
    case 2: return Int(Rnd() * 40) + 25;
    case 3: return Int(Rnd() * 40) + 10;
    default: return std::nullopt;
    }
}

int Idade_Aleatoria() {
    Randomize();
    return Int(Rnd() * 12) + 20;
}

std::string Posicao_Do_Sorteio(double r) {
    if (r <= 0.1) return "gk";
    if (r <= 0.43) return "df";
    if (r <= 0.75) return "md";
    return "av";
}

std::string Posicao_Aleatoria() {
    Randomize();
    return Posicao_Do_Sorteio(Rnd());
}

long Preco_Com_Sorteio(int forca, int idade, double r) {
    long preco = static_cast<long>(preco_faixa(idade, forca));
    // nearbyint follows the default rounding mode: halves to even.
    if (r < 0.2) preco = static_cast<long>(std::nearbyint(static_cast<double>(preco) * (r + 0.5)));
    return preco;
}

long Preco_Jogador(int forca, int idade) {
    Randomize();
    return Preco_Com_Sorteio(forca, idade, Rnd());
}

bool Reforma_Com_Sorteio(int idade, double r) {
    switch (idade) {
    case 34: return r > 0.75;
    case 35: return r > 0.6;
    case 36: return r > 0.5;
    case 37: return r > 0.3;
    default: return idade >= 38 && idade <= 55;
    }
}

void Fechar_Marcador_Sempre(const std::string& nome, const std::string& equipa, const std::string& pos, int idade) {
    base_aberta().Execute("UPDATE Melhores_Marcadores_Sempre SET sit = ?, ano = ? "
                          "WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ? AND sit = ?",
                          {MARCADOR_SAIU, Epoca_Actual - 1, nome, equipa, pos, idade, MARCADOR_ACTIVO});
}

void Reformar_Jogadores() {
    auto& d = base_aberta();
    struct Veterano {
        long long id;
        std::string nome, equipa, pos;
        int idade;
    };
    std::vector<Veterano> veteranos;
    {
        auto rs = d.OpenRecordset("SELECT rowid AS id, nome, equipa, pos, idade FROM jogadores "
                                  "WHERE equipa = ? AND idade >= 34 ORDER BY rowid",
                                  {Clube_Treinador});
        for (; !rs.Eof(); rs.MoveNext())
            veteranos.push_back({rs["id"].inteiro(), rs["nome"].texto(), rs["equipa"].texto(), rs["pos"].texto(),
                                 rs["idade"].int32()});
    }
    if (veteranos.empty()) return;
    Randomize();
    for (const auto& v : veteranos) {
        if (!Reforma_Com_Sorteio(v.idade, Rnd())) continue;
        Fechar_Marcador_Sempre(v.nome, v.equipa, v.pos, v.idade);
        const std::string idade = std::to_string(v.idade);
        ui().aviso(ingles() ? "The Player " + v.nome + " Leave the football (" + idade + " years)"
                            : "O jogador " + v.nome + " deixa de Jogar Futebol (" + idade + " Anos)",
                   Icone::Exclamacao);
        d.Execute("DELETE FROM jogadores WHERE rowid = ?", {v.id});
    }
}

} // namespace gv
