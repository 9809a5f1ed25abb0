#pragma once
// A bare game with the manager's club, its opponent and three referee
// trios: eleven starters and a bench of one per line, plus a player left
// out and an injured one, who are never listed.

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "jornada/apoio_jornada.h"

namespace gv::teste {

inline const std::string ADVERSARIO = "Adversário FC";

class Base_Intervalo : public Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        clube(Clube_Treinador);
        clube(ADVERSARIO);
        const char* trios[][3] = {{"Artur Primeiro", "Bruno Auxiliar", "Carlos Auxiliar"},
                                  {"Duarte Segundo", "Eduardo Bandeira", "Fausto Bandeira"},
                                  {"Gil Terceiro", "Hélio Linha", "Ivo Linha"}};
        for (auto& t : trios)
            Base_Dados->Execute("INSERT INTO arbitros (ap, aux1, aux2) VALUES (?, ?, ?)", {t[0], t[1], t[2]});
        Adversario = ADVERSARIO;
        Jogo_Em_Casa = 1;

        // Stored out of order on purpose: the lists sort by line and strength.
        const struct {
            const char* pos;
            int forca, joga;
            const char* nome;
        } plantel_treinador[] = {
            {"gk", 70, 1, "Guarda Titular"}, {"df", 65, 1, "Defesa Três"},     {"df", 80, 1, "Defesa Um"},
            {"df", 58, 1, "Defesa Quatro"},  {"df", 72, 1, "Defesa Dois"},     {"md", 62, 1, "Médio Três"},
            {"md", 75, 1, "Médio Um"},       {"md", 68, 1, "Médio Dois"},      {"av", 77, 1, "Avançado Um"},
            {"av", 66, 1, "Avançado Três"},  {"av", 71, 1, "Avançado Dois"},   {"av", 45, 2, "Avançado Banco"},
            {"md", 50, 2, "Médio Banco"},    {"df", 55, 2, "Defesa Banco"},    {"gk", 60, 2, "Guarda Suplente"},
            {"md", 90, 0, "Fora da Convocatória"}, {"av", 95, 3, "Lesionado"},
        };
        for (const auto& j : plantel_treinador) id[j.nome] = jogador(Clube_Treinador, j.pos, j.forca, j.joga, j.nome);
        id["Rival Titular"] = jogador(ADVERSARIO, "df", 50, 1, "Rival Titular");
    }

    // joga of every player, by identity.
    std::map<long long, int> jogas() {
        std::map<long long, int> r;
        auto rs = Base_Dados->OpenRecordset("SELECT rowid AS id, joga FROM jogadores");
        for (; !rs.Eof(); rs.MoveNext()) r[rs["id"].inteiro()] = rs["joga"].int32();
        return r;
    }
    int joga(long long rowid) { return contar("SELECT joga FROM jogadores WHERE rowid = ?", {rowid}); }

    // The identities of the named players, in this order.
    std::vector<long long> ids(std::initializer_list<const char*> nomes) {
        std::vector<long long> r;
        for (const char* n : nomes) r.push_back(id.at(n));
        return r;
    }

    // Each named player's rowid.
    std::map<std::string, long long> id;
};

} // namespace gv::teste
