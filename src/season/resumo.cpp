#include "season/resumo.h"

#include "data/esquema.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/movimentos.h"
#include "platform/interface_utilizador.h"

namespace gv {

namespace {

constexpr int N_Marcadores = 6;
constexpr long Premio_Taca = 2'500'000;
constexpr long Premio_Marcador = 500'000;
// Prizes by place (1st to 3rd) and division.
constexpr long Premios_Lugar[3][3] = {
    {3'500'000, 1'500'000, 750'000},   // 1st
    {1'500'000, 1'000'000, 500'000},   // 2nd
    {750'000, 500'000, 300'000},       // 3rd
};
const char* const Premios_Texto[3][3] = {
    {"3.500.000", "1.500.000", "750.000"},
    {"1.500.000", "1.000.000", "500.000"},
    {"750.000", "500.000", "300.000"},
};

std::string vencedor_da_taca() {
    if (!Vencedor_Taca.empty()) return Vencedor_Taca;
    // A game loaded after the final knows its winner only from the draw table.
    auto& d = base_aberta();
    if (d.valor("SELECT count(*) FROM clubes_taca_qualif").int32() == 1)
        return d.valor("SELECT clube FROM clubes_taca_qualif").texto();
    return {};
}

void pagar(long valor, const std::string& mensagem) {
    Movimento_Financeiro(Tipos_Movimento::Entrada, valor);
    ui().aviso(mensagem, Icone::Informacao);
}

std::string mensagem_lugar(int lugar, int div) {
    const std::string d = std::to_string(div);
    const std::string valor = Premios_Texto[lugar - 1][div - 1];
    if (lugar == 1 && div == 1)
        return ingles() ? Clube_Treinador + " 1st Place - CHAMPION (1st Div.) Bonus : " + valor
                        : Clube_Treinador + " 1º Lugar - CAMPEÃO (1ª Div.) Prémio : " + valor;
    static const char* const ordinal_en[] = {"1st Place - ", "2nd Place - ", "3rd Place - "};
    static const char* const sufixo_en[] = {"st Division - Bonus : ", "nd Division - Bonus : ", "rd Division - Bonus : "};
    if (ingles()) return ordinal_en[lugar - 1] + d + sufixo_en[lugar - 1] + valor;
    return std::to_string(lugar) + "º Lugar da " + d + "ª Divisão - Prémio : " + valor;
}

} // namespace

std::vector<Linha_Classificacao> Ler_Classificacao(int div) {
    std::vector<Linha_Classificacao> r;
    auto rs = base_aberta().OpenRecordset(
        std::string("SELECT rowid AS id, clube, jogos, v, e, d, g_mar, g_suf, pontos FROM clubes WHERE div = ?") +
            Ordem_Classificacao,
        {div});
    for (int lugar = 1; !rs.Eof(); rs.MoveNext(), ++lugar)
        r.push_back({rs["id"].inteiro(), lugar, rs["clube"].texto(), rs["jogos"].int32(), rs["v"].int32(),
                     rs["e"].int32(), rs["d"].int32(), rs["g_mar"].int32(), rs["g_suf"].int32(), rs["pontos"].int32()});
    return r;
}

Resumo_Epoca Ler_Resumo_Epoca() {
    Resumo_Epoca r;
    for (int div = 1; div <= 3; ++div) {
        const auto tabela = Ler_Classificacao(div);
        const std::size_t n = tabela.size();
        for (std::size_t i = 0; i < n && i < 3; ++i) r.primeiros[div - 1].push_back(tabela[i]);
        for (std::size_t i = n > 3 ? n - 3 : 0; i < n; ++i) r.ultimos[div - 1].push_back(tabela[i]);

        auto rs = base_aberta().OpenRecordset(
            "SELECT jogadores.rowid AS id, jogadores.nome, jogadores.equipa, jogadores.golos FROM jogadores "
            "INNER JOIN clubes ON jogadores.equipa = clubes.clube WHERE clubes.div = ? AND jogadores.golos >= 1 "
            "ORDER BY jogadores.golos DESC, jogadores.nome, jogadores.rowid LIMIT ?",
            {div, N_Marcadores});
        for (; !rs.Eof(); rs.MoveNext())
            r.marcadores[div - 1].push_back(
                {rs["id"].inteiro(), rs["nome"].texto(), rs["equipa"].texto(), rs["golos"].int32()});
    }
    if (!r.primeiros[0].empty()) r.campeao = r.primeiros[0].front().clube;
    r.vencedor_taca = vencedor_da_taca();
    return r;
}

void Registar_Vencedores(const Resumo_Epoca& r) {
    for (int i = 0; i < 3; ++i) {
        if (!r.primeiros[i].empty())
            Inserir_Ultimos_Venc(r.primeiros[i].front().clube, Tipos_Vencedor::Campeao[i], "",
                                 r.primeiros[i].front().pontos);
        if (i == 0 && !r.vencedor_taca.empty()) Inserir_Ultimos_Venc(r.vencedor_taca, Tipos_Vencedor::Taca, "", 0);
    }
    for (int i = 0; i < 3; ++i)
        if (!r.marcadores[i].empty()) {
            const auto& m = r.marcadores[i].front();
            Inserir_Ultimos_Venc(m.equipa, Tipos_Vencedor::Marcador[i], m.nome, m.golos);
        }
}

void Premios(const Resumo_Epoca& r) {
    if (!r.vencedor_taca.empty() && r.vencedor_taca == Clube_Treinador)
        pagar(Premio_Taca, ingles() ? Clube_Treinador + " Cup Winner - Bonus : 2.500.000"
                                    : Clube_Treinador + " Vencedor da Taça - Prémio : 2.500.000");
    for (int div = 1; div <= 3; ++div) {
        const auto& m = r.marcadores[div - 1];
        if (!m.empty() && m.front().equipa == Clube_Treinador)
            pagar(Premio_Marcador, ingles() ? "Best Scorer - " + std::to_string(div) + "ª Division - Bonus : 500.000"
                                            : "Melhor Marcador da " + std::to_string(div) +
                                                  "ª Divisão - Prémio : 500.000");
    }
    for (int lugar = 1; lugar <= 3; ++lugar)
        for (int div = 1; div <= 3; ++div) {
            const auto& p = r.primeiros[div - 1];
            if (static_cast<int>(p.size()) >= lugar && p[lugar - 1].clube == Clube_Treinador)
                pagar(Premios_Lugar[lugar - 1][div - 1], mensagem_lugar(lugar, div));
        }
}

} // namespace gv
