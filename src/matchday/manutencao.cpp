#include "matchday/manutencao.h"

#include <algorithm>
#include <array>

#include "data/esquema.h"
#include "matchday/interno.h"

namespace gv {

using jornada_interno::base;

namespace {

constexpr std::array<int, 8> Jornadas_Crescimento{4, 7, 11, 14, 18, 22, 26, 31};

void apagar_sem_clube(db::Database& d) {
    // A club name of spaces alone sorts before "!" (a space before any
    // printable character, in any case or accent): the index finds the
    // few names it must look at.
    d.Execute("DELETE FROM jogadores WHERE equipa IS NULL OR (equipa < '!' AND trim(equipa) = '')");
}

// Rows that already hold the value are left alone in every statement
// below: the table ends the same, with far fewer rows and index entries
// rewritten.

void limpar_escolhas_computador(db::Database& d) {
    d.Execute("UPDATE jogadores SET joga = 0 WHERE joga IS NOT 0 AND equipa <> ?", {Clube_Treinador});
}

// The band price of a strength and an age in whole numbers, worked out in
// the same order and with the same numbers as the expression below; false
// when a step would leave the whole numbers, for the expression to decide.
bool preco_banda(const long long* a, long long* r) {
    const long long forca = a[0], idade = a[1];
    const long long banda = forca <= 35 ? 300 : forca <= 60 ? 400 : forca <= 75 ? 650 : forca <= 100 ? 900 : 1500;
    long long x = 0;
    if (__builtin_sub_overflow(40LL, idade, &x) || __builtin_mul_overflow(x, forca, &x) ||
        __builtin_mul_overflow(x, banda, &x))
        return false;
    *r = x;
    return true;
}

// The price of the five bands (Faixas_Preco), whole numbers: 500 * k; a
// player without a strength is in no band and keeps his. The common case,
// whole numbers, is one call instead of a dozen steps of the expression,
// which still decides every other.
const std::string Preco_Novo = "coalesce(gv_preco_banda(forca, idade), CASE WHEN forca IS NULL THEN preco ELSE "
                               "(40 - idade) * forca * CASE WHEN forca <= 35 THEN 300 WHEN forca <= 60 THEN 400 "
                               "WHEN forca <= 75 THEN 650 WHEN forca <= 100 THEN 900 ELSE 1500 END END)";

// A wage from a whole-number price, as ordenado_de() works it out below.
bool ordenado_inteiro(const long long* a, long long* r) {
    const long long preco = a[0];
    long long x = preco;
    if (preco < 0 && __builtin_sub_overflow(99LL, preco, &x)) return false;
    *r = preco >= 0 ? preco / 100 : -(x / 100);
    return true;
}

db::Database& com_precos(db::Database& d) {
    d.funcao_inteira("gv_preco_banda", 2, preco_banda);
    d.funcao_inteira("gv_ordenado", 1, ordenado_inteiro);
    return d;
}

void precos(db::Database& d) {
    static const std::string sql = "UPDATE jogadores SET preco = " + Preco_Novo + " WHERE preco IS NOT " + Preco_Novo;
    com_precos(d).Execute(sql);
}

// Starters lose form and substitutes and unpicked players gain it;
// injured players (joga 3) keep theirs. At exactly -3 or 3 the strength
// moves by one. The league resets any value at or beyond the limits, the
// cup only the exact limits (goals can carry the counter past them).
// One pass over the club's rows, each counter worked through the steps in
// turn: a starter's drops, a strength moves and the counter resets at the
// low limit, an unpicked player's or a substitute's rises, then the same at
// the high limit.
void forma_do_treinador(db::Database& d, bool so_nos_limites) {
    static const auto sql = [](bool exacto) {
        const std::string baixa = "(CASE WHEN joga = 1 THEN sit - 1 ELSE sit END)";
        const std::string zerada = "(CASE WHEN " + baixa + (exacto ? " = -3" : " <= -3") + " THEN 0 ELSE " + baixa + " END)";
        const std::string subida = "(CASE WHEN joga IN (0, 2) THEN " + zerada + " + 1 ELSE " + zerada + " END)";
        const std::string menos = "(CASE WHEN " + baixa + " = -3 THEN forca - 1 ELSE forca END)";
        return "UPDATE jogadores SET sit = CASE WHEN " + subida + (exacto ? " = 3" : " >= 3") + " THEN 0 ELSE " +
               subida + " END, forca = CASE WHEN " + subida + " = 3 THEN " + menos + " + 1 ELSE " + menos +
               " END WHERE equipa = ?";
    };
    static const std::string na_taca = sql(true), na_liga = sql(false);
    d.Execute(so_nos_limites ? na_taca : na_liga, {Clube_Treinador});
}

// Prices, then wages from them for every player who neither plays for nor
// belongs to the manager's club; int() rounds down.
std::string ordenado_de(const std::string& preco) {
    return "coalesce(gv_ordenado(" + preco + "), CASE WHEN " + preco + " >= 0 THEN " + preco + " / 100 ELSE -((99 - " +
           preco + ") / 100) END)";
}

// Other rounds move few prices, and two narrow passes look at each row
// cheaply.
void precos_e_ordenados(db::Database& d) {
    precos(d);
    // The numbers first: most rows stop there, before any name is compared.
    static const std::string sql = "UPDATE jogadores SET ordenado = " + ordenado_de("preco") + " WHERE ordenado IS NOT " +
                                   ordenado_de("preco") + " AND equipa <> ?1 AND clube_origem <> ?1";
    d.Execute(sql, {Clube_Treinador});
}

// A growth round makes every player of the computer's clubs one stronger:
// his strength, the price it gives and the wage from that price go in one
// write of each row. The manager's players, whose strength only their form
// moved, are repriced through the club index.
void crescer(db::Database& d) {
    static const std::string preco_forte = [] {
        std::string p = Preco_Novo;
        for (std::size_t i = p.find("forca"); i != std::string::npos; i = p.find("forca", i + 11))
            p.replace(i, 5, "(forca + 1)");
        return "(" + p + ")";
    }();
    static const std::string sql = "UPDATE jogadores SET forca = forca + 1, preco = " + preco_forte +
                                   ", ordenado = CASE WHEN clube_origem <> ?1 THEN " + ordenado_de(preco_forte) +
                                   " ELSE ordenado END WHERE equipa <> ?1";
    static const std::string do_treinador =
        "UPDATE jogadores SET preco = " + Preco_Novo + " WHERE equipa = ? AND preco IS NOT " + Preco_Novo;
    com_precos(d).Execute(sql, {Clube_Treinador});
    d.Execute(do_treinador, {Clube_Treinador});
}

} // namespace

bool Jornada_De_Crescimento(int jornada) {
    return std::find(Jornadas_Crescimento.begin(), Jornadas_Crescimento.end(), jornada) != Jornadas_Crescimento.end();
}

void Actualizar_Jogadores_Jornada() {
    auto& d = base();
    // In one pass: computer clubs' line-ups cleared, an empty owner made
    // '0', and a player in his last injured round available again, in every
    // club. Players without a club then go.
    static const std::string sai_da_equipa = "joga IS NOT 0 AND (equipa <> ?1 OR lesionado_jor = 1)";
    // A name of spaces alone sorts, byte by byte, before "!": the cheap
    // comparison leaves trim() to the few rows that may be blank.
    static const std::string sem_dono =
        "clube_origem IS NULL OR (clube_origem COLLATE BINARY < '!' AND trim(clube_origem) = '')";
    static const std::string recuperado = "lesionado_jor <= 1 AND lesionado IS NOT 0";
    d.Execute("UPDATE jogadores SET joga = CASE WHEN " + sai_da_equipa + " THEN 0 ELSE joga END, clube_origem = CASE WHEN " +
                  sem_dono + " THEN '0' ELSE clube_origem END, lesionado = CASE WHEN " + recuperado +
                  " THEN 0 ELSE lesionado END WHERE (" + sai_da_equipa + ") OR " + sem_dono + " OR (" + recuperado + ")",
              {Clube_Treinador});
    apagar_sem_clube(d);
    d.Execute("UPDATE jogadores SET lesionado_jor = lesionado_jor - 1 WHERE equipa = ? AND lesionado_jor >= 1",
              {Clube_Treinador});
    forma_do_treinador(d, false);
    if (Jornada_De_Crescimento(Jornada_Actual)) crescer(d);
    else precos_e_ordenados(d);
}

void Actualizar_Jogadores_Taca() {
    auto& d = base();
    apagar_sem_clube(d);
    limpar_escolhas_computador(d);
    forma_do_treinador(d, true);
    precos(d);
}

} // namespace gv
