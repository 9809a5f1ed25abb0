#include "matchday/ronda.h"

#include <cctype>
#include <unordered_map>
#include <vector>

#include "data/carreira.h"
#include "data/clubes.h"
#include "data/erros.h"
#include "data/esquema.h"
#include "data/financas.h"
#include "data/liga.h"
#include "matchday/assistencia.h"
#include "matchday/interno.h"
#include "matchday/lesoes.h"
#include "matchday/manutencao.h"
#include "matchday/marcadores.h"
#include "matchday/memoria_ronda.h"
#include "matchday/partida.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

using jornada_interno::base;
using jornada_interno::e_do_treinador;

namespace {

bool ler_inteiro(const std::string& s, int& v) {
    std::string t = aparar(s);
    if (t.empty() || t.size() > 9) return false;
    v = 0;
    for (char c : t) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

// The manager's coach performance moves with his league results.
void registar_resultado_treinador(int marcados, int sofridos) {
    if (marcados > sofridos) base().Execute("UPDATE principal SET sit = sit + 1");
    else if (marcados < sofridos) base().Execute("UPDATE principal SET sit = sit - 1");
    Registar_Resultado_V_E_D_GC_PC(marcados, sofridos);
}

void marcadores_da_linha(Linha_Jogo& l, bool taca) {
    l.marcadores_casa = taca ? Marcadores_Jogo_Taca(l.golos_casa, l.casa, 1) : Marcadores_Jogo(l.golos_casa, l.casa, 1);
    l.ultimo_casa = Texto_Marcadores;
    l.marcadores_fora = taca ? Marcadores_Jogo_Taca(l.golos_fora, l.fora, 1) : Marcadores_Jogo(l.golos_fora, l.fora, 1);
    l.ultimo_fora = Texto_Marcadores;
}

// "(1) Club" before the home club's name, "Club (1)" after the visitor's.
std::string rotulo_taca(int divisao, const std::string& clube, bool antes) {
    std::string d = std::to_string(divisao);
    std::string r;
    r.reserve(clube.size() + d.size() + 3);
    if (antes) r.append("(").append(d).append(") ").append(clube);
    else r.append(clube).append(" (").append(d).append(")");
    return r;
}

struct Jogo {
    long long id;
    std::string casa, fora;
    int div;
};

// The manager's gate money, posted and logged.
void receber_bilheteira(const Jogo& j, const char* tipo, int assistencia, long long receita) {
    Movimento_Financeiro(Tipos_Movimento::Estadio, static_cast<long>(receita));
    Registar_Assistencia(j.casa + "-" + j.fora, tipo, assistencia, receita);
}

// The next-match button's last steps, taken by the round in its own
// transaction. Neither may stop the match: a failure of either is undone on
// its own (the instalment says so) and the round goes on.
void passos_antes_da_ronda(const std::function<void()>& compras) {
    if (compras) compras();
    Pagar_Prestacao_Emprestimo();
    ponto_de_falha("ronda.prestacao");
    try {
        db::Transaccao t(base());
        Limpar_Melhores_Marcadores();
        t.commit();
    } catch (const db::Erro_BD&) {
        // A tidy-up: the scorers' table stays as it was. An undone round
        // is no Erro_BD and goes on to the round's own failure.
    }
    ponto_de_falha("ronda.marcadores");
}


Resultado_Ronda jogar_ronda(bool taca, Observador_Ronda* observador) {
    // Events pumped during the round may bring the screen's timer back.
    static bool a_jogar = false;
    if (a_jogar) return Resultado_Ronda::Ignorada;
    a_jogar = true;
    struct Fim {
        ~Fim() { a_jogar = false; }
    } fim;

    const Estado_Guardado antes;
    const bool preparar = Ronda_Com_Preparacao != 0;
    Ronda_Com_Preparacao = 0;
    const std::function<void()> compras = std::move(Compras_Da_Ronda);
    Compras_Da_Ronda = nullptr;
    std::string vencedor;
    ui().rato_ocupado();
    try {
        db::Transaccao t(base());
        if (preparar) passos_antes_da_ronda(compras);
        if (taca) {
            Jogar_Eliminatoria_Taca(observador);
            Actualizar_Jogadores_Taca();
            Avancar_Eliminatoria_Taca();
            ponto_de_falha("ronda.taca.sorteio");
            // The next round is drawn with the one that qualified its clubs:
            // no saved game holds played ties without the draw after them.
            vencedor = Sortear_Jogos_Taca_Sem_Aviso();
            ponto_de_falha("ronda.taca.gravar");
        } else {
            Jogar_Jornada(observador);
            Actualizar_Jogadores_Jornada();
            Registar_Historico_Jornada();
            Avancar_Jornada();
            ponto_de_falha("ronda.campeonato.gravar");
        }
        t.commit();
    } catch (const std::exception& erro) {
        // The transaction is rolled back by now; the state follows it.
        antes.repor();
        if (observador) observador->anulada();
        ui().rato_normal();
        std::string texto = taca ? txt("Não foi possível jogar a eliminatória da Taça. Nada foi gravado e pode "
                                       "jogá-la de novo.",
                                       "The cup round could not be played. Nothing was saved and you can play it "
                                       "again.")
                                 : txt("Não foi possível jogar a jornada. Nada foi gravado e pode jogá-la de novo.",
                                       "The matchday could not be played. Nothing was saved and you can play it "
                                       "again.");
        ui().aviso(texto + Linha_Causa(erro), Icone::Critico);
        return Resultado_Ronda::Falhada;
    }
    Ronda_Jogada = 1;
    ui().rato_normal();
    ponto_de_falha("ronda.gravada");
    if (!vencedor.empty()) Anunciar_Vencedor_Taca(vencedor);
    return Resultado_Ronda::Jogada;
}

} // namespace

// ---------------------------------------------------------------- scores

std::string Texto_Resultado(int casa, int fora) { return std::to_string(casa) + " - " + std::to_string(fora); }

std::optional<std::pair<int, int>> Ler_Resultado(const std::string& texto) {
    auto p = texto.find(" - ");
    if (p == std::string::npos) return std::nullopt;
    int h = 0, a = 0;
    if (!ler_inteiro(texto.substr(0, p), h) || !ler_inteiro(texto.substr(p + 3), a)) return std::nullopt;
    return std::make_pair(h, a);
}

// ---------------------------------------------------------------- league

void Jogar_Jornada(Observador_Ronda* observador) {
    ui().processar_eventos();
    auto& d = base();
    jornada_interno::Memoria_Ronda memoria;
    auto jornada = d.valor("SELECT Jornada FROM principal LIMIT 1");
    if (jornada.nulo()) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "A tabela principal está vazia");
    std::vector<Jogo> jogos;
    {
        auto rs = d.OpenRecordset("SELECT rowid AS id, casa, fora, div FROM jogos WHERE jor = ? ORDER BY div, rowid",
                                  {jornada});
        for (; !rs.Eof(); rs.MoveNext())
            jogos.push_back({rs["id"].inteiro(), rs["casa"].texto(), rs["fora"].texto(), rs["div"].int32()});
    }
    if (observador) observador->inicio(static_cast<int>(jogos.size()));

    int k = 1;
    for (const Jogo& j : jogos) {
        Simular_Jogo(j.casa, j.fora);
        Linha_Jogo l;
        l.linha = k;
        l.divisao = j.div;
        l.casa = l.texto_casa = j.casa;
        l.fora = l.texto_fora = j.fora;
        l.golos_casa = Golos_Casa();
        l.golos_fora = Golos_Fora();
        d.Execute("UPDATE jogos SET result = ? WHERE rowid = ?", {Texto_Resultado(l.golos_casa, l.golos_fora), j.id});

        const bool treinador_casa = e_do_treinador(j.casa), treinador_fora = e_do_treinador(j.fora);
        if (treinador_casa || treinador_fora) Verificar_Lesao();
        if (treinador_casa) registar_resultado_treinador(l.golos_casa, l.golos_fora);
        if (treinador_fora) registar_resultado_treinador(l.golos_fora, l.golos_casa);
        ui().processar_eventos();

        l.assistencia = Calcular_Assistencia(j.casa, j.fora);
        l.texto_assistencia = formatar_dinheiro(l.assistencia);
        marcadores_da_linha(l, false);
        if (observador) observador->resultado(l);

        // The whole gate of the manager's home matches.
        if (treinador_casa)
            receber_bilheteira(j, Tipos_Competicao::Campeonato, l.assistencia,
                               Receita_Campeonato(Preco_Bilhete, l.assistencia));
        ponto_de_falha("jornada.jogo");
        ++k;
    }
    memoria.gravar();
}

void Registar_Historico_Jornada() {
    auto& d = base();
    // Every club's place in its division by points, goal difference and
    // name (the clubs ahead of it, plus one), all written in one statement.
    struct Clube {
        std::string nome;
        long long div, pontos, diferenca;
    };
    std::vector<Clube> clubes;
    d.percorrer("SELECT clube, div, pontos, g_mar - g_suf FROM clubes ORDER BY rowid", {},
                [&](const db::Linha_Lida& r) { clubes.push_back({r.texto(0), r.inteiro(1), r.inteiro(2), r.inteiro(3)}); });
    if (clubes.empty()) return;
    std::string sql = "INSERT INTO Historico_Jornadas (jor, clube, pontos, pos) VALUES ";
    db::Parametros valores;
    for (const Clube& c : clubes) {
        int lugar = 1;
        for (const Clube& o : clubes)
            if (o.div == c.div &&
                (o.pontos > c.pontos ||
                 (o.pontos == c.pontos && (o.diferenca > c.diferenca ||
                                           (o.diferenca == c.diferenca && db::comparar_nomes(o.nome, c.nome) < 0)))))
                ++lugar;
        sql += valores.empty() ? "(?, ?, ?, ?)" : ", (?, ?, ?, ?)";
        valores.insert(valores.end(), {Jornada_Actual, c.nome, c.pontos, lugar});
    }
    d.Execute(sql, valores);
}

void Avancar_Jornada() {
    base().Execute("UPDATE principal SET Jornada = Jornada + 1");
    ++Jornada_Actual;
    Pagar_Ordenados();
}

// ---------------------------------------------------------------- cup

void Jogar_Eliminatoria_Taca(Observador_Ronda* observador) {
    ui().processar_eventos();
    auto& d = base();
    jornada_interno::Memoria_Ronda memoria;
    std::vector<Jogo> jogos;
    {
        auto rs = d.OpenRecordset("SELECT rowid AS id, casa, fora FROM jogos_taca ORDER BY casa, fora");
        for (; !rs.Eof(); rs.MoveNext()) jogos.push_back({rs["id"].inteiro(), rs["casa"].texto(), rs["fora"].texto(), 0});
    }
    if (observador) observador->inicio(static_cast<int>(jogos.size()));

    int k = 1;
    for (const Jogo& j : jogos) {
        Simular_Jogo_Taca(j.casa, j.fora);
        Linha_Jogo l;
        l.linha = k;
        l.taca = true;
        l.casa = j.casa;
        l.fora = j.fora;
        l.golos_casa = Golos_Casa();
        l.golos_fora = Golos_Fora();
        d.Execute("UPDATE jogos_taca SET resul = ? WHERE rowid = ?",
                  {Texto_Resultado(l.golos_casa, l.golos_fora), j.id});

        const bool do_treinador = e_do_treinador(j.casa) || e_do_treinador(j.fora);
        if (do_treinador) Verificar_Lesao();
        l.divisao_casa = jornada_interno::divisao(j.casa);
        l.divisao_fora = jornada_interno::divisao(j.fora);
        l.texto_casa = rotulo_taca(l.divisao_casa, j.casa, true);
        l.texto_fora = rotulo_taca(l.divisao_fora, j.fora, false);
        l.assistencia = Assistencia_Taca(j.casa, j.fora);
        l.texto_assistencia = formatar_dinheiro(l.assistencia);
        marcadores_da_linha(l, true);
        if (observador) observador->resultado(l);

        // Half the gate of every tie the manager's club plays, home or away.
        if (do_treinador)
            receber_bilheteira(j, Tipos_Competicao::Taca, l.assistencia, Receita_Taca(Preco_Bilhete, l.assistencia));
        ponto_de_falha("taca.jogo");
        ++k;
    }
    memoria.gravar();
}

void Avancar_Eliminatoria_Taca() {
    base().Execute("UPDATE principal SET taca = taca + 1");
    ++Eliminatoria_Taca;
}

// ---------------------------------------------------------------- the runner

Resultado_Ronda Jogar_Ronda_Campeonato(Observador_Ronda* observador) { return jogar_ronda(false, observador); }
Resultado_Ronda Jogar_Ronda_Taca(Observador_Ronda* observador) { return jogar_ronda(true, observador); }

} // namespace gv
