#include "data/clubes.h"

#include <vector>

#include "data/consultas.h"
#include "data/esquema.h"
#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/texto.h"

namespace gv {

namespace {

// Row k + 1 of the query for k = Int(Rnd * largura + desvio), a blank name
// drawn again. Only rows that exist and hold a name can be drawn, each with
// the chance the repeated draw would give it, and one draw settles it.
// The club is the query's first column.
std::string sortear(const std::string& sql, const db::Parametros& p, int largura, int desvio) {
    Randomize();
    std::vector<std::string> candidatos;
    int linha = 0;
    base_aberta().percorrer(sql, p, [&](const db::Linha_Lida& r) {
        const int esta = linha++;
        if (esta < desvio || esta >= desvio + largura) return;
        std::string nome = r.texto(0);
        if (!aparar(nome).empty()) candidatos.push_back(std::move(nome));
    });
    if (candidatos.empty()) return {};
    return candidatos[Int(Rnd() * static_cast<double>(candidatos.size()))];
}

std::string tabela_sem_treinador() {
    return std::string("SELECT clube FROM clubes WHERE div = ? AND clube <> ?") + Ordem_Classificacao;
}

std::string media_posicao(const char* agregado, const char* ordem, int limite) {
    return std::string("SELECT jogadores.equipa, ") + agregado +
           "(jogadores.forca) AS f_m FROM jogadores INNER JOIN clubes ON jogadores.equipa = clubes.clube "
           "WHERE jogadores.pos = ? AND clubes.div = ? AND clubes.clube <> ? "
           "GROUP BY jogadores.equipa ORDER BY " + agregado + "(jogadores.forca)" + ordem + ", jogadores.equipa LIMIT " +
           std::to_string(limite);
}

} // namespace

std::string Lugar_Clube(const std::string& clube) {
    auto& d = base_aberta();
    auto div = d.valor("SELECT div FROM clubes WHERE clube = ?", {clube});
    if (div.nulo()) return {};
    auto rs = d.OpenRecordset(std::string("SELECT clube FROM clubes WHERE div = ?") + Ordem_Classificacao, {div});
    for (int n = 1; !rs.Eof(); rs.MoveNext(), ++n)
        if (rs["clube"].texto() == clube) return std::to_string(n) + txt("º Lugar", "º Place");
    return {};
}

int Divisao_Clube(const std::string& clube) {
    return base_aberta().valor("SELECT div FROM clubes WHERE clube = ?", {clube}).int32();
}

int Capacidade_Estadio(const std::string& clube) {
    return base_aberta().valor("SELECT cap_estadio FROM clubes WHERE clube = ?", {clube}).int32();
}

std::string Clube_Aleatorio_Topo(int div) {
    return sortear(tabela_sem_treinador(), {div, Clube_Treinador}, 5, 0);
}
std::string Clube_Aleatorio_Meio(int div) {
    return sortear(tabela_sem_treinador(), {div, Clube_Treinador}, 8, 4);
}
std::string Clube_Aleatorio_Fundo(int div) {
    return sortear(tabela_sem_treinador(), {div, Clube_Treinador}, 5, 12);
}
std::string Clube_Fraco_Posicao(int div, const std::string& pos) {
    return sortear(media_posicao("Avg", "", 5), {pos, div, Clube_Treinador}, 4, 0);
}
std::string Clube_Forte_Posicao(int div, const std::string& pos) {
    return sortear(media_posicao("Avg", " DESC", 5), {pos, div, Clube_Treinador}, 5, 0);
}
std::string Clube_Falta_Posicao(int div, const std::string& pos) {
    return sortear(media_posicao("count", "", 3), {pos, div, Clube_Treinador}, 3, 0);
}

} // namespace gv
