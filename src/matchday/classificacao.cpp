#include "matchday/classificacao.h"

#include "data/esquema.h"
#include "matchday/interno.h"
#include "matchday/memoria_ronda.h"
#include "matchday/partida.h"

namespace gv {

using jornada_interno::base;

namespace {

void registar(const std::string& clube, int marcados, int sofridos) {
    const int vitoria = marcados > sofridos, empate = marcados == sofridos, derrota = marcados < sofridos;
    // Only the first row of the club, should its name be there twice.
    int n = base().Execute(
        "UPDATE clubes SET jogos = jogos + 1, pontos = pontos + ?, v = v + ?, e = e + ?, d = d + ?, "
        "g_mar = g_mar + ?, g_suf = g_suf + ? WHERE rowid = (SELECT rowid FROM clubes WHERE clube = ? LIMIT 1)",
        {3 * vitoria + empate, vitoria, empate, derrota, marcados, sofridos, clube});
    if (n == 0) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O clube não está na liga: " + clube);
    if (auto* m = jornada_interno::memoria_ronda()) m->resultado(clube, marcados, sofridos);
}

} // namespace

void Actualizar_Classificacao(const std::string& casa, const std::string& fora) {
    const int h = Golos_Casa(), a = Golos_Fora();
    registar(casa, h, a);
    registar(fora, a, h);
}

void Qualificar_Vencedor_Taca(const std::string& casa, const std::string& fora) {
    const int h = Golos_Casa(), a = Golos_Fora();
    if (h == a) return;
    base().Execute("INSERT INTO clubes_taca_qualif (clube) VALUES (?)", {h > a ? casa : fora});
}

int Posicao_Clube(const std::string& clube) {
    // Within a round the standings are kept in memory, result by result.
    if (auto* m = jornada_interno::memoria_ronda()) return m->posicao(clube);
    auto& d = base();
    auto div = d.valor("SELECT div FROM clubes WHERE clube = ? LIMIT 1", {clube});
    if (div.nulo()) return 0;
    auto rs = d.OpenRecordset(std::string("SELECT clube FROM clubes WHERE div = ?") + Ordem_Classificacao, {div});
    for (int n = 1; !rs.Eof(); rs.MoveNext(), ++n)
        if (rs["clube"].texto() == clube) return n;
    return 0;
}

} // namespace gv
