#include "market/listas.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>

#include "data/erros.h"
#include "data/estado.h"
#include "data/jogadores_novos.h"
#include "data/movimentos.h"
#include "desk/propostas.h"
#include "matchday/sorteio.h"
#include "market/comum.h"
#include "platform/aleatorio.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"

namespace gv {

namespace {

Jogador_Listado de_registo(const db::Recordset& rs) {
    Jogador_Listado j;
    j.rowid = rs["rowid"].inteiro();
    j.pos = rs["pos"].texto();
    j.nome = rs["nome"].texto();
    j.clube = rs["equipa"].texto();
    j.idade = rs["idade"].int32();
    j.forca = rs["forca"].int32();
    j.golos = rs["golos"].int32();
    j.contrato = rs["contrato"].int32();
    j.preco = rs["preco"].int32();
    return j;
}

constexpr const char* Colunas = "SELECT jogadores.rowid AS rowid, pos, nome, equipa, idade, forca, golos, contrato, preco ";

void jogadores_da_liga(std::vector<Jogador_Listado>& lista) {
    // The players who can be listed, by identity; only those drawn are read.
    // The manager's own are found through the club index and left out
    // after: no row of the table has its club name compared.
    auto& d = base_aberta();
    std::vector<long long> meus, ids;
    d.percorrer("SELECT rowid FROM jogadores WHERE equipa = ? ORDER BY rowid", {Clube_Treinador},
                [&](const db::Linha_Lida& r) { meus.push_back(r.inteiro(0)); });
    d.percorrer("SELECT rowid FROM jogadores WHERE emprestado = 0 AND idade > 16 AND equipa IS NOT NULL ORDER BY rowid",
                {}, [&](const db::Linha_Lida& r) {
                    const long long id = r.inteiro(0);
                    if (!std::binary_search(meus.begin(), meus.end(), id)) ids.push_back(id);
                });
    const int n = static_cast<int>(ids.size());
    const int linhas = Int(Rnd() * 20) + 5;
    if (n == 0) return;
    for (int i = 0; i < linhas; ++i) {
        auto rs = d.OpenRecordset(std::string(Colunas) + "FROM jogadores WHERE rowid = ?",
                                  {ids[static_cast<std::size_t>(Int(Rnd() * n))]});
        Jogador_Listado j = de_registo(rs);
        j.taxa = Int(static_cast<double>(j.preco) * Rnd() * 0.2 + 0.05);
        lista.push_back(j);
    }
}

void jogadores_livres(std::vector<Jogador_Listado>& lista) {
    const int linhas = Int(Rnd() * 5 + 6);
    for (int i = 0; i < linhas; ++i) {
        Jogador_Listado j;
        const int div = Int(Rnd() * 3 + 1);
        j.forca = Forca_Aleatoria(div).value_or(10);
        j.idade = Idade_Aleatoria();
        j.pos = Posicao_Aleatoria();
        j.nome = Nome_Aleatorio();
        j.clube = "-";
        j.preco = Preco_Jogador(j.forca, j.idade);
        lista.push_back(j);
    }
}

void juniores(std::vector<Jogador_Listado>& lista) {
    const int linhas = Int(Rnd() * 5 + 2);
    for (int i = 0; i < linhas; ++i) {
        Jogador_Listado j;
        j.forca = Int(Rnd() * 20 + 10);
        j.idade = Int(Rnd() * 3 + 13);
        j.pos = Posicao_Aleatoria();
        j.nome = Nome_Aleatorio();
        j.clube = "-";
        j.preco = Int(Rnd() * (j.forca * 1000.0) + 10000);
        lista.push_back(j);
    }
}

} // namespace

std::vector<Jogador_Listado> Jogadores_Venda() {
    Randomize();
    std::vector<Jogador_Listado> lista;
    jogadores_da_liga(lista);
    jogadores_livres(lista);
    juniores(lista);
    return lista;
}

std::vector<Jogador_Listado> Jogadores_Lista(int div, const std::string& pos, int faixa) {
    const Faixa_Idade& f = Faixas_Idade.at(static_cast<std::size_t>(faixa));
    Randomize();
    auto rs = base_aberta().OpenRecordset(
        std::string(Colunas) +
            "FROM jogadores INNER JOIN clubes ON jogadores.equipa = clubes.clube "
            "WHERE equipa <> ? AND emprestado = 0 AND div = ? AND idade > ? AND idade <= ? AND pos = ? "
            "ORDER BY nome COLLATE NOME, jogadores.rowid",
        {Clube_Treinador, div, f.minimo, f.maximo, pos});
    std::vector<Jogador_Listado> lista;
    for (; !rs.Eof(); rs.MoveNext()) {
        Jogador_Listado j = de_registo(rs);
        const long valor = j.preco;
        j.preco = valor * 2;
        j.taxa = Int(static_cast<double>(valor) * 3 * Rnd() * 0.2 + 0.05);
        lista.push_back(j);
    }
    return lista;
}

std::vector<Jogador_Listado> Plantel_Clube(const std::string& clube) {
    std::vector<Jogador_Listado> lista;
    for (const char* pos : {"gk", "df", "md", "av"}) {
        auto rs = base_aberta().OpenRecordset(std::string(Colunas) +
                                                  "FROM jogadores WHERE equipa = ? AND pos = ? "
                                                  "ORDER BY forca DESC, nome COLLATE NOME",
                                              {clube, pos});
        for (; !rs.Eof(); rs.MoveNext()) lista.push_back(de_registo(rs));
    }
    return lista;
}

std::vector<Clube_Divisao> Clubes_Por_Nome() {
    std::vector<Clube_Divisao> r;
    auto rs = base_aberta().OpenRecordset("SELECT clube, div FROM clubes ORDER BY clube COLLATE NOME");
    for (; !rs.Eof(); rs.MoveNext()) r.push_back({rs["clube"].texto(), rs["div"].int32()});
    return r;
}

int Transferir_Jogadores(const std::vector<Jogador_Listado>& linhas) {
    int feitas = 0;
    std::string erros;
    std::vector<std::string> nomes_feitos;
    std::string causa;   // of the last failure
    std::exception_ptr desfez;   // the failure that made the engine undo everything
    auto& d = base_aberta();
    const bool dentro = d.em_transaccao();
    // The matchday's purchases are saved together, in the round's
    // transaction or in one of their own, and each one is whole or put back
    // on its own: its writes are undone one by one, as a savepoint would
    // at the price of enciphering a copy of every page it touched.
    std::optional<db::Transaccao> todas;
    if (!dentro) try {
            todas.emplace(d);
        } catch (const db::Erro_BD& e) {
            Registar_Erro(e);
            ui().aviso(std::string(txt("As transferências entre clubes não foram feitas:",
                                       "The transfers between clubs were not made:")) +
                           "\n" + Causa_Erro(e),
                       Icone::Exclamacao);
            return 0;
        }
    std::vector<Desfazer_Mudanca> feitas_aqui;
    // Puts back what failed; if even that fails, nothing of the batch can be
    // trusted and the transaction around it goes.
    auto repor = [&](Desfazer_Mudanca& m) {
        try {
            m.desfazer();
        } catch (const db::Erro_BD& e) {
            Registar_Erro(e);
            if (!desfez) desfez = std::current_exception();
            if (todas) todas.reset();
        }
    };
    for (const Jogador_Listado& j : linhas) {
        Randomize();
        if (Sorteio() >= 0.25 || j.idade < 17) continue;
        Desfazer_Mudanca mudanca;
        try {
            if (!j.sem_clube()) {
                // The row may be stale: the player came up twice, or the
                // manager dealt him on the other list this matchday.
                const int ainda = d.valor("SELECT count(*) FROM jogadores WHERE rowid = ? AND equipa = ? "
                                          "AND emprestado = 0 AND clube_origem = '0'",
                                          {j.rowid, j.clube})
                                      .int32();
                if (ainda == 0) continue;
            }
            const std::string comprador = Escolher_Clube_Interessado(Divisao_Do_Jogador(j.forca), j.pos);
            if (comprador.empty()) continue;
            Mudar_Clube_Jogador(j.preco, j.pos, j.nome, j.idade, j.forca, j.clube, comprador,
                                j.sem_clube() ? 0 : j.rowid, &mudanca);
            ponto_de_falha("compra_clube.gravar");
            ++feitas;
            nomes_feitos.push_back(j.nome);
            feitas_aqui.push_back(std::move(mudanca));
        } catch (const db::Erro_BD& e) {
            causa = Causa_Erro(e);
            erros += "\n" + j.nome + ": " + causa;
            Registar_Erro(e);
            if (d.em_transaccao()) repor(mudanca);
            else desfez = std::current_exception();
        }
        // A failing disk can make the engine undo the whole batch: what was
        // made is lost and nothing more is tried.
        if (desfez || !d.em_transaccao()) break;
    }
    bool guardadas = !desfez && d.em_transaccao();
    if (guardadas) {
        try {
            ponto_de_falha("transferencias.gravar");
            if (todas) todas->commit();
        } catch (const db::Erro_BD& e) {
            causa = Causa_Erro(e);
            Registar_Erro(e);
            guardadas = false;
            if (!d.em_transaccao()) desfez = std::current_exception();
            else if (dentro)
                for (auto m = feitas_aqui.rbegin(); m != feitas_aqui.rend() && !desfez; ++m) repor(*m);
        }
    }
    // Within a round, the round itself was undone: it fails with this cause.
    if (dentro && desfez) std::rethrow_exception(desfez);
    if (!guardadas) {
        for (const auto& n : nomes_feitos) erros += "\n" + n + ": " + causa;
        feitas = 0;
    }
    if (!erros.empty())
        ui().aviso(std::string(txt("Algumas transferências entre clubes não foram feitas:",
                                   "Some transfers between clubs were not made:")) +
                       erros,
                   Icone::Exclamacao);
    return feitas;
}

} // namespace gv
