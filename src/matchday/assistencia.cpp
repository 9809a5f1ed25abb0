#include "matchday/assistencia.h"

#include "data/clubes.h"
#include "matchday/classificacao.h"
#include "matchday/interno.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"

namespace gv {

using jornada_interno::base;
using jornada_interno::clube_da_liga;

namespace {

// Whole number nearest to n / d (d > 0, n >= 0), halves to the even neighbour.
long long dividir_arredondado(long long n, long long d) {
    long long q = n / d, resto = n % d;
    if (2 * resto > d || (2 * resto == d && q % 2 != 0)) ++q;
    return q;
}

} // namespace

int Calcular_Assistencia(const std::string& casa, const std::string& fora) {
    Randomize();
    const int p_casa = Posicao_Clube(casa);
    const int p_fora = Posicao_Clube(fora);
    const double cap = jornada_interno::capacidade(casa);
    // Left to right in double precision: a place over 18 first, then the share.
    const int parte_casa = Int((19 - p_casa) / 18.0 * 0.3 * cap);
    const int parte_publico = Int(Sorteio() * 0.3 * cap + 0.3 * cap);
    const int parte_fora = Int((19 - p_fora) / 18.0 * 0.2 * cap);
    const long long total = static_cast<long long>(parte_casa) + parte_publico + parte_fora;
    return total >= cap ? static_cast<int>(cap) : static_cast<int>(total);
}

int Assistencia_Taca(const std::string& casa, const std::string& fora) {
    if (!clube_da_liga(casa)) return 10000;
    const int cap = jornada_interno::capacidade(casa);
    if (!clube_da_liga(fora)) return static_cast<int>(dividir_arredondado(cap, 3));
    return cap;
}

void Registar_Assistencia(const std::string& jogo, const std::string& tipo, int assistencia, long long receita) {
    base().Execute("INSERT INTO assistencias (Jornada, Jogo, Tipo, assistencia, receita) VALUES (?, ?, ?, ?, ?)",
                   {Jornada_Actual, jogo, tipo, assistencia, receita});
}

long long Receita_Campeonato(int preco_bilhete, int assistencia) {
    return static_cast<long long>(preco_bilhete) * assistencia;
}

long long Receita_Taca(int preco_bilhete, int assistencia) {
    const long long bruto = static_cast<long long>(preco_bilhete) * assistencia;
    return bruto < 0 ? -dividir_arredondado(-bruto, 2) : dividir_arredondado(bruto, 2);
}

} // namespace gv
