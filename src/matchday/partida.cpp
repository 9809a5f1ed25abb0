#include "matchday/partida.h"

#include <algorithm>

#include "data/esquema.h"
#include "matchday/classificacao.h"
#include "matchday/interno.h"
#include "matchday/memoria_ronda.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"

namespace gv {

int Pontos_Golo_Casa = 0;
int Pontos_Golo_Fora = 0;
double Media_GK_Casa = 0, N_GK_Casa = 0, Media_DF_Casa = 0, N_DF_Casa = 0;
double Media_MD_Casa = 0, N_MD_Casa = 0, Media_AV_Casa = 0, N_AV_Casa = 0;
double Media_GK_Fora = 0, N_GK_Fora = 0, Media_DF_Fora = 0, N_DF_Fora = 0;
double Media_MD_Fora = 0, N_MD_Fora = 0, Media_AV_Fora = 0, N_AV_Fora = 0;
int Ataques_Casa = 0;
int Ataques_Fora = 0;

using jornada_interno::base;
using jornada_interno::clube_da_liga;
using jornada_interno::e_do_treinador;

namespace {

using jornada_interno::Linhas;

constexpr std::array<double, 4> Contagem_Computador_Casa{1, 4, 3, 3};
constexpr std::array<double, 4> Contagem_Computador_Fora{1, 5, 3, 2};
constexpr std::array<double, 4> Contagem_Fora_Da_Liga{1, 4, 4, 2};

// Averages of every line of a club: of its starters only, or of all its
// players. One grouped read in place of four averages.
Linhas ler_linhas(const std::string& clube, bool so_titulares) {
    Linhas l;
    auto rs = base().OpenRecordset(
        so_titulares
            ? "SELECT pos, avg(forca) AS m_f, count(*) AS n FROM jogadores WHERE equipa = ? AND joga = 1 GROUP BY pos"
            : "SELECT pos, avg(forca) AS m_f, count(*) AS n FROM jogadores WHERE equipa = ? GROUP BY pos",
        {clube});
    for (; !rs.Eof(); rs.MoveNext()) {
        int i = jornada_interno::linha_de(rs["pos"].texto());
        if (i < 0) continue;
        l.media[i] = rs["m_f"].real();
        l.n[i] = static_cast<double>(rs["n"].inteiro());
    }
    return l;
}

Linhas linhas_treinador(const std::string& clube, bool taca) {
    if (taca && !clube_da_liga(clube)) {
        Linhas l;
        l.media.fill(10);
        l.n = Contagem_Fora_Da_Liga;
        return l;
    }
    return ler_linhas(clube, true);
}

Linhas linhas_computador(const std::string& clube, const std::array<double, 4>& contagem) {
    // Within a round every club's averages come from the round's one read.
    auto* m = jornada_interno::memoria_ronda();
    Linhas l = m ? m->linhas(clube) : ler_linhas(clube, false);
    l.n = contagem;
    return l;
}

void guardar_casa(const Linhas& l) {
    Media_GK_Casa = l.media[0], N_GK_Casa = l.n[0];
    Media_DF_Casa = l.media[1], N_DF_Casa = l.n[1];
    Media_MD_Casa = l.media[2], N_MD_Casa = l.n[2];
    Media_AV_Casa = l.media[3], N_AV_Casa = l.n[3];
}

void guardar_fora(const Linhas& l) {
    Media_GK_Fora = l.media[0], N_GK_Fora = l.n[0];
    Media_DF_Fora = l.media[1], N_DF_Fora = l.n[1];
    Media_MD_Fora = l.media[2], N_MD_Fora = l.n[2];
    Media_AV_Fora = l.media[3], N_AV_Fora = l.n[3];
}

void calcular_forcas(const std::string& casa, const std::string& fora, bool taca) {
    guardar_casa(e_do_treinador(casa) ? linhas_treinador(casa, taca)
                                      : linhas_computador(casa, Contagem_Computador_Casa));
    guardar_fora(e_do_treinador(fora) ? linhas_treinador(fora, taca)
                                      : linhas_computador(fora, Contagem_Computador_Fora));
}

int titulares(const std::string& clube) {
    return base().valor("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {clube}).int32();
}

void ataque(bool casa) { casa ? Ataque_Casa() : Ataque_Fora(); }

void jogar(const std::string& casa, const std::string& fora, bool taca) {
    Pontos_Golo_Casa = Pontos_Golo_Fora = 0;
    Ataques_Casa = Ataques_Fora = 0;
    const bool treinador_casa = e_do_treinador(casa), treinador_fora = e_do_treinador(fora);
    // Only a computer club that meets the manager's picks a line-up.
    if (treinador_fora && !treinador_casa) Escolher_Equipa_Computador(casa, Formacoes_Computador_Casa, taca);
    if (treinador_casa && !treinador_fora) Escolher_Equipa_Computador(fora, Formacoes_Computador_Fora, taca);
    calcular_forcas(casa, fora, taca);

    const bool com_intervalo = treinador_casa || treinador_fora;
    bool vez_casa = true;
    for (int minuto = 1; minuto <= 93; ++minuto) {
        if (minuto == 45 && com_intervalo) {
            // Half time comes before minute 45's attack, and the match goes
            // on at 47: the manager's match has 92 ticks.
            ui().intervalo(taca, casa, fora, Golos_Casa(), Golos_Fora());
            calcular_forcas(casa, fora, taca);
            minuto = 46;
        }
        ataque(vez_casa);
        vez_casa = !vez_casa;
        // The cup round does not repaint between ticks.
        if (!taca) ui().processar_eventos();
    }
    if (!taca) return;
    int blocos = 0;
    while (Golos_Casa() == Golos_Fora()) {
        if (++blocos > MAX_BLOCOS_PROLONGAMENTO)
            throw Erro_Ronda(std::string(txt("O jogo da Taça ", "The cup tie ")) + casa + " - " + fora +
                             txt(" continua empatado depois de ", " is still level after ") +
                             std::to_string(MAX_BLOCOS_PROLONGAMENTO) +
                             txt(" prolongamentos.", " blocks of extra time."));
        vez_casa = true;
        for (int i = 0; i < 10; ++i) {
            ataque(vez_casa);
            vez_casa = !vez_casa;
        }
    }
}

} // namespace

// ---------------------------------------------------------------- line-ups

void Escolher_Equipa(const std::string& clube, int defesas, int medios, int avancados) {
    auto& d = base();
    // A line-up is best effort: a failing step is passed over and the next runs.
    try {
        // Rows already out of the line-up are left as they are.
        d.Execute("UPDATE jogadores SET joga = 0 WHERE joga <> 3 AND joga <> 0 AND equipa = ?", {clube});
    } catch (const db::Erro_BD&) {
    }
    const int quantos[4] = {1, defesas, medios, avancados};
    for (std::size_t i = 0; i < Codigos_Posicao.size(); ++i) {
        try {
            d.Execute("UPDATE jogadores SET joga = 1 WHERE rowid IN (SELECT rowid FROM jogadores "
                      "WHERE equipa = ? AND pos = ? AND joga <> 3 ORDER BY forca DESC, rowid LIMIT ?)",
                      {clube, Codigos_Posicao[i], std::max(0, quantos[i])});
        } catch (const db::Erro_BD&) {
        }
    }
}

void Escolher_Equipa_Taca(const std::string& clube, int defesas, int medios, int avancados) {
    if (!clube_da_liga(clube)) return;
    Escolher_Equipa(clube, defesas, medios, avancados);
}

void Escolher_Equipa_Computador(const std::string& clube, const std::array<Formacao_Computador, 5>& formacoes,
                                bool taca) {
    for (const auto& f : formacoes) {
        if (taca) Escolher_Equipa_Taca(clube, f.defesas, f.medios, f.avancados);
        else Escolher_Equipa(clube, f.defesas, f.medios, f.avancados);
        if (titulares(clube) >= 11) return;
    }
}

// ---------------------------------------------------------------- strengths

double Media_Forca(const std::string& clube, const std::string& pos) {
    try {
        auto v = e_do_treinador(clube)
                     ? base().valor("SELECT avg(forca) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 1",
                                    {clube, pos})
                     : base().valor("SELECT avg(forca) FROM jogadores WHERE equipa = ? AND pos = ?", {clube, pos});
        return v.real();
    } catch (const db::Erro_BD&) {
        return 0;
    }
}

double Media_Forca_Taca(const std::string& clube, const std::string& pos) {
    return clube_da_liga(clube) ? Media_Forca(clube, pos) : 10;
}

double Numero_Jogadores_Posicao(const std::string& clube, const std::string& pos) {
    try {
        return static_cast<double>(
            base().valor("SELECT count(*) FROM jogadores WHERE equipa = ? AND pos = ? AND joga = 1", {clube, pos})
                .inteiro());
    } catch (const db::Erro_BD&) {
        return 0;
    }
}

double Numero_Jogadores_Posicao_Taca(const std::string& clube, const std::string& pos) {
    if (clube_da_liga(clube)) return Numero_Jogadores_Posicao(clube, pos);
    int i = jornada_interno::linha_de(pos);
    return i < 0 ? 0 : Contagem_Fora_Da_Liga[i];
}

void Calcular_Forcas_Equipas(const std::string& casa, const std::string& fora) { calcular_forcas(casa, fora, false); }

void Calcular_Forcas_Equipas_Taca(const std::string& casa, const std::string& fora) {
    calcular_forcas(casa, fora, true);
}

// ---------------------------------------------------------------- the match

void Ataque_Casa() {
    Randomize();
    const double r = Sorteio();
    ++Ataques_Casa;
    // Equal averages do not beat the goalkeeper.
    const bool bate = Media_AV_Casa > Media_GK_Fora;
    if ((bate && r > 0.7) || (!bate && r > 0.8)) ++Pontos_Golo_Casa;
}

void Ataque_Fora() {
    Randomize();
    const double r = Sorteio();
    ++Ataques_Fora;
    const bool bate = Media_AV_Fora > Media_GK_Casa;
    if ((bate && r > 0.75) || (!bate && r > 0.85)) ++Pontos_Golo_Fora;
}

void Simular_Jogo(const std::string& casa, const std::string& fora) {
    jogar(casa, fora, false);
    Actualizar_Classificacao(casa, fora);
}

void Simular_Jogo_Taca(const std::string& casa, const std::string& fora) {
    jogar(casa, fora, true);
    Qualificar_Vencedor_Taca(casa, fora);
}

} // namespace gv
