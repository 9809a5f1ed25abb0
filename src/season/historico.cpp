#include "season/historico.h"

#include <string>

#include "data/estado.h"
#include "matchday/classificacao.h"
#include "season/andamento.h"

namespace gv {

namespace {

bool ganhou_taca(const std::string& clube) { return !Vencedor_Taca.empty() && clube == Vencedor_Taca; }

// 1 in the column of the division won, 0 elsewhere.
struct Titulos {
    int div_1 = 0, div_2 = 0, div_3 = 0;
    Titulos(int div, bool campeao) {
        if (!campeao) return;
        if (div == 1) div_1 = 1;
        if (div == 2) div_2 = 1;
        if (div == 3) div_3 = 1;
    }
};

} // namespace

void Actualizar_Historico_Treinador(bool silencioso) {
    if (!silencioso) Mostrar_Actualizar("Histórico Treinador", "Coach History");
    auto& d = base_aberta();
    auto clube = d.OpenRecordset("SELECT div, v, e, d, g_mar, g_suf, pontos FROM clubes WHERE clube = ? LIMIT 1",
                                 {Clube_Treinador});
    if (clube.Eof())
        throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O clube do treinador (" + Clube_Treinador + ") não está na liga");
    auto principal = d.OpenRecordset("SELECT d_in, d_out FROM principal LIMIT 1");
    if (principal.Eof()) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "A tabela principal está vazia");
    const int lugar = Posicao_Clube(Clube_Treinador);
    const int div = clube["div"].int32();
    const Titulos t(div, lugar == 1);
    d.Execute("INSERT INTO historico_treinador (ano, clube, div, div_1, div_2, div_3, v, e, d, taca, g_mar, g_suf, "
              "pontos, Class, d_in, d_out) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
              {Epoca_Actual, Clube_Treinador, div, t.div_1, t.div_2, t.div_3, clube["v"], clube["e"], clube["d"],
               ganhou_taca(Clube_Treinador) ? 1 : 0, clube["g_mar"], clube["g_suf"], clube["pontos"], lugar,
               principal["d_in"], principal["d_out"]});
}

void Actualizar_Historico_Clubes() {
    Mostrar_Actualizar("Histórico Clubes", "Clubs History");
    auto& d = base_aberta();
    // Division by division, each in the standings order.
    auto rs = d.OpenRecordset("SELECT clube, div, pontos, v, e, d, g_mar, g_suf FROM clubes "
                              "ORDER BY div, pontos DESC, (g_mar-g_suf) DESC, clube");
    int n = 1, lugar = 0, div_anterior = -1;
    for (; !rs.Eof(); rs.MoveNext(), ++n) {
        const std::string clube = rs["clube"].texto();
        const int div = rs["div"].int32();
        lugar = div == div_anterior ? lugar + 1 : 1;
        div_anterior = div;
        const Titulos t(div, lugar == 1);
        const int taca = ganhou_taca(clube) ? 1 : 0;

        auto existente = d.valor("SELECT rowid FROM historico_clube WHERE clube = ? ORDER BY rowid LIMIT 1", {clube});
        if (existente.nulo()) {
            d.Execute("INSERT INTO historico_clube (clube, pontos_total, pontos, v_total, e_total, d_total, "
                      "g_mar_total, g_suf_total, div_1, div_2, div_3, taca) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {clube, n, rs["pontos"], rs["v"], rs["e"], rs["d"], rs["g_mar"], rs["g_suf"], t.div_1, t.div_2,
                       t.div_3, taca});
        } else {
            d.Execute("UPDATE historico_clube SET clube = ?, pontos_total = pontos_total + ?, pontos = pontos + ?, "
                      "v_total = v_total + ?, e_total = e_total + ?, d_total = d_total + ?, "
                      "g_mar_total = g_mar_total + ?, g_suf_total = g_suf_total + ?, div_1 = div_1 + ?, "
                      "div_2 = div_2 + ?, div_3 = div_3 + ?, taca = taca + ? WHERE rowid = ?",
                      {clube, n, rs["pontos"], rs["v"], rs["e"], rs["d"], rs["g_mar"], rs["g_suf"], t.div_1, t.div_2,
                       t.div_3, taca, existente});
        }
        d.Execute("INSERT INTO historico_equipas_epoca (clas, div, clube, ano, pontos, v_total, e_total, d_total, "
                  "g_mar, div_1, div_2, div_3, taca) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  {lugar, div, clube, Epoca_Actual, rs["pontos"], rs["v"], rs["e"], rs["d"],
                   rs["g_mar"].texto() + "-" + rs["g_suf"].texto(), t.div_1, t.div_2, t.div_3, taca});
    }
}

} // namespace gv
