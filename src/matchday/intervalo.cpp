#include "matchday/intervalo.h"

#include <algorithm>

#include "data/clubes.h"
#include "data/esquema.h"
#include "matchday/interno.h"
#include "matchday/partida.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"
#include "platform/texto.h"

namespace gv {

using jornada_interno::base;

namespace {

// The four lines in the order gk, df, md, av, strongest first; equal
// strengths in the order the players were stored.
constexpr const char* ORDEM_LINHAS =
    " AND pos IN ('gk', 'df', 'md', 'av')"
    " ORDER BY CASE pos WHEN 'gk' THEN 0 WHEN 'df' THEN 1 WHEN 'md' THEN 2 ELSE 3 END, forca DESC, rowid";

std::string alinhar_direita(const std::string& s, int n) {
    const int falta = n - n_caracteres(s);
    return falta > 0 ? std::string(static_cast<std::size_t>(falta), ' ') + s : s;
}

} // namespace

std::string Ajustar_Largura(const std::string& s, int n) {
    if (n <= 0) return {};
    std::string r;
    int contados = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool inicio = (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
        if (inicio && contados == n) break;
        contados += inicio;
        r += s[i];
    }
    if (contados < n) r.append(static_cast<std::size_t>(n - contados), ' ');
    return r;
}

// ---------------------------------------------------------------- half time

Trio_Arbitros Sortear_Arbitros() {
    auto rs = base().OpenRecordset("SELECT ap, aux1, aux2 FROM arbitros ORDER BY rowid");
    const int n = rs.RecordCount();
    // One draw picks the row: Int(r * n) rows on from the first.
    const double r = Sorteio();
    if (n == 0) return {};
    rs.MoveFirst();
    rs.Move(std::clamp(Int(r * n), 0, n - 1));
    return {rs["ap"].texto(), rs["aux1"].texto(), rs["aux2"].texto()};
}

std::vector<Jogador_Intervalo> Jogadores_Intervalo(const std::string& clube, int joga) {
    std::vector<Jogador_Intervalo> r;
    auto rs = base().OpenRecordset(
        std::string("SELECT rowid AS id, pos, nome, forca FROM jogadores WHERE equipa = ? AND joga = ?") +
            ORDEM_LINHAS,
        {clube, joga});
    for (; !rs.Eof(); rs.MoveNext())
        r.push_back({rs["id"].inteiro(), rs["pos"].texto(), rs["nome"].texto(), rs["forca"].int32()});
    return r;
}

std::string Texto_Entrada_Intervalo(const Jogador_Intervalo& j) {
    return Ajustar_Largura(j.pos, 3) + Ajustar_Largura(j.nome, 22) + std::to_string(j.forca);
}

Troca Verificar_Troca(int n_substituicoes, const std::string& pos_titular, const std::string& pos_suplente) {
    if (n_substituicoes >= MAX_SUBSTITUICOES) return Troca::Limite;
    if ((pos_titular == "gk") != (pos_suplente == "gk")) return Troca::Guarda_Redes;
    return Troca::Permitida;
}

int Gravar_Substituicoes(const std::string& clube, const std::vector<long long>& titulares,
                         const std::vector<long long>& suplentes) {
    auto& d = base();
    int escritos = 0;
    auto gravar = [&](const std::vector<long long>& ids, int joga) {
        for (long long id : ids) {
            // A player who cannot be written is passed over; the others still are.
            try {
                escritos += d.Execute("UPDATE jogadores SET joga = ? WHERE rowid = ? AND equipa = ?", {joga, id, clube});
            } catch (const db::Erro_BD&) {
            }
        }
    };
    gravar(titulares, JOGA_TITULAR);
    gravar(suplentes, JOGA_SUPLENTE);
    return escritos;
}

std::string Linha_Intervalo(const std::string& casa, const std::string& fora, int golos_casa, int golos_fora) {
    return "(" + std::to_string(golos_casa) + ") " + maiusculas(casa) + " - " + maiusculas(fora) + " (" +
           std::to_string(golos_fora) + ")";
}

// ---------------------------------------------------------------- the opponent

Consulta_Adversario Verificar_Adversario(const std::string& adversario) {
    if (adversario == "0") return Consulta_Adversario::Fora_Da_Taca;
    if (Divisao_Clube(adversario) == 0) return Consulta_Adversario::Fora_Da_Liga;
    return Consulta_Adversario::Permitida;
}

void Escolher_Equipa_Adversario(const std::string& adversario, int jogo_em_casa) {
    // Jogo_Em_Casa tells where the manager plays: 0, away, puts the opponent at home.
    Escolher_Equipa_Computador(adversario, jogo_em_casa == 0 ? Formacoes_Computador_Casa : Formacoes_Computador_Fora,
                               false);
}

std::vector<Jogador_Adversario> Titulares_Adversario(const std::string& adversario) {
    std::vector<Jogador_Adversario> r;
    auto rs = base().OpenRecordset(
        std::string("SELECT pos, nome, forca, golos FROM jogadores WHERE equipa = ? AND joga = 1") + ORDEM_LINHAS,
        {adversario});
    for (; !rs.Eof(); rs.MoveNext())
        r.push_back({rs["pos"].texto(), rs["nome"].texto(), rs["forca"].int32(), rs["golos"].int32()});
    return r;
}

std::string Texto_Linha_Adversario(int numero, const Jogador_Adversario& j) {
    const std::string golos = std::to_string(j.golos);
    return Ajustar_Largura(std::to_string(numero), 3) + Ajustar_Largura(j.pos, 3) + Ajustar_Largura(j.nome, 23) +
           alinhar_direita(std::to_string(j.forca), 3) + " (" + (golos.size() < 2 ? "0" + golos : golos) + ")";
}

} // namespace gv
