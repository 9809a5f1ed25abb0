#include "desk/negocios.h"

#include <cmath>
#include <optional>
#include <string>

#include "data/clubes.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/movimentos.h"
#include "desk/propostas.h"
#include "market/comum.h"
#include "platform/aleatorio.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

namespace {

struct Jogador {
    long long rowid = 0;
    std::string pos, nome, clube_origem;
    int idade = 0, forca = 0, contrato = 0;
    long ordenado = 0, preco = 0;
};

// The manager's player with that identity.
std::optional<Jogador> ler(long long rowid) {
    auto rs = base_aberta().OpenRecordset(
        "SELECT rowid, pos, nome, idade, forca, contrato, ordenado, preco, clube_origem FROM jogadores "
        "WHERE rowid = ? AND equipa = ?",
        {rowid, Clube_Treinador});
    if (rs.Eof()) return std::nullopt;
    Jogador j;
    j.rowid = rowid;
    j.pos = rs["pos"].texto();
    j.nome = rs["nome"].texto();
    j.clube_origem = rs["clube_origem"].texto();
    j.idade = rs["idade"].int32();
    j.forca = rs["forca"].int32();
    j.contrato = rs["contrato"].int32();
    j.ordenado = rs["ordenado"].int32();
    j.preco = rs["preco"].int32();
    return j;
}

std::string com_idade(const Jogador& j) { return j.nome + " (" + std::to_string(j.idade) + ")"; }

Resultado_Negocio sem_jogador() {
    Negocio_Falhou(txt("O jogador já não está no clube.", "The player is no longer at the club."));
    return Resultado_Negocio::Falhou;
}

std::string oferta(const std::string& clube, int div, long valor, bool vender) {
    if (ingles())
        return "The Team " + maiusculas(clube) + " (" + std::to_string(div) + "ª Div.), " + (vender ? "offers " : "offer ") +
               formatar_dinheiro(valor) + ".\nDo you Agree ?";
    return "O clube " + maiusculas(clube) + " (" + std::to_string(div) + "ª Div.), oferece " + formatar_dinheiro(valor) +
           ".\nAceita ?";
}

} // namespace

Termos_Renovacao Termos_De_Renovacao(int idade, double ordenado, double preco) {
    Termos_Renovacao t;
    if (idade < 24) {
        t.ordenado = std::floor(ordenado * 1.15);
        t.epocas = 3;
    } else if (idade < 30) {
        t.ordenado = std::floor(ordenado * 1.12);
        t.epocas = 4;
    } else {
        t.ordenado = std::floor(ordenado * 0.9);
        t.epocas = 4;
    }
    if (preco * 0.015 > t.ordenado) t.ordenado = preco * 0.015;
    t.custo = static_cast<long>(std::floor(preco * 0.075));
    return t;
}

Resultado_Negocio Vender_Jogador(long long rowid) {
    auto j = ler(rowid);
    if (!j) return sem_jogador();
    if (j->idade < 17) {
        ui().aviso(txt("Este jogador só pode ser vendido depois dos 17 anos.",
                       "You can only sell this player when he has 17 year."),
                   Icone::Critico);
        return Resultado_Negocio::Recusado;
    }
    Randomize();
    const int div = Divisao_Do_Jogador(j->forca);
    const std::string clube = Escolher_Clube_Interessado(div, j->pos);
    if (clube.empty()) return Resultado_Negocio::Desistiu;
    const long valor = j->preco;
    if (!ui().pergunta(oferta(clube, div, valor, true), 0)) return Resultado_Negocio::Desistiu;
    auto r = Numa_Transaccao([&] {
        Registar_Transferencia(j->idade, j->pos, com_idade(*j), j->forca, "V", valor);
        Mudar_Clube_Jogador(valor, j->pos, j->nome, j->idade, j->forca, Clube_Treinador, clube, j->rowid);
        Movimento_Financeiro("V+", valor);
        ponto_de_falha("venda.gravar");
    });
    if (r == Resultado_Negocio::Feito)
        ui().aviso(txt("Jogador Vendido ao ", "Player sold to the Team ") + maiusculas(clube), Icone::Informacao);
    return r;
}

Resultado_Negocio Emprestar_Jogador(long long rowid) {
    if (Jornada_Actual > 24) {
        ui().aviso(txt("Só poderá emprestar jogadores a partir da proxima época.",
                       "You only can loan players on the next year."),
                   Icone::Critico);
        return Resultado_Negocio::Recusado;
    }
    auto j = ler(rowid);
    if (!j) return sem_jogador();
    Randomize();
    const int div = Divisao_Do_Jogador(j->forca);
    const std::string clube = Escolher_Clube_Interessado(div, j->pos);
    if (clube.empty()) return Resultado_Negocio::Desistiu;
    const long taxa = j->idade < 17 ? j->forca * 100L : static_cast<long>(std::floor(j->preco * 0.15));
    if (!ui().pergunta(oferta(clube, div, taxa, false), 0)) return Resultado_Negocio::Desistiu;
    auto r = Numa_Transaccao([&] {
        Registar_Transferencia(j->idade, j->pos, com_idade(*j), j->forca, "E-", taxa);
        base_aberta().Execute("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1 WHERE rowid = ?",
                              {clube, Clube_Treinador, j->rowid});
        Movimento_Financeiro("E+", taxa);
        ponto_de_falha("emprestimo.gravar");
    });
    if (r == Resultado_Negocio::Feito)
        ui().aviso(txt("Jogador Emprestado ao ", "Player Loan to the Team ") + maiusculas(clube) +
                       txt(" até ao final da época.", " until the end of the year."),
                   Icone::Informacao);
    return r;
}

Resultado_Negocio Renovar_Contrato(long long rowid, double* ordenado_novo) {
    auto j = ler(rowid);
    if (!j) return sem_jogador();
    const auto t = Termos_De_Renovacao(j->idade, j->ordenado, j->preco);
    if (ordenado_novo) *ordenado_novo = t.ordenado;
    const long novo = static_cast<long>(std::nearbyint(t.ordenado));
    const std::string pergunta =
        ingles() ? "The Player " + j->nome + " wants " + formatar_dinheiro(novo) + " wage for a " + std::to_string(t.epocas) +
                       " year(s) contract.\nContract Renovation Price : " + formatar_dinheiro(t.custo) + "\nDo you Agree ?"
                 : "O Jogador " + j->nome + " pretende " + formatar_dinheiro(novo) + " de Ordenado e um Contrato de " +
                       std::to_string(t.epocas) + " épocas.\nCusto de Renovação : " + formatar_dinheiro(t.custo) +
                       "\nAceita ?";
    if (!ui().pergunta(pergunta, 0)) return Resultado_Negocio::Desistiu;
    return Numa_Transaccao([&] {
        base_aberta().Execute("UPDATE jogadores SET ordenado = ?, contrato = ? WHERE rowid = ?", {novo, t.epocas, j->rowid});
        Movimento_Financeiro("O-", t.custo);
        ponto_de_falha("renovacao.gravar");
    });
}

Resultado_Negocio Comprar_Jogador_Emprestado(long long rowid) {
    auto j = ler(rowid);
    if (!j) return sem_jogador();
    const std::string dono = j->clube_origem;
    auto r = Numa_Transaccao([&] {
        auto& d = base_aberta();
        d.Execute("UPDATE Melhores_Marcadores_Sempre SET equipa = ? WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?",
                  {Clube_Treinador, j->nome, dono, j->pos, j->idade});
        Registar_Transferencia_Clubes(j->idade, j->pos, j->nome, j->forca,
                                      "(" + std::to_string(Divisao_Clube(dono)) + ") " + dono + " -> " + Clube_Treinador +
                                          " (" + std::to_string(Divisao_Clube(Clube_Treinador)) + ")",
                                      j->preco);
        // The player is the club's own from now on; the upkeep after the next
        // league round writes '0' into the emptied owner.
        d.Execute("UPDATE jogadores SET contrato = contrato + 1, emprestado = 0, clube_origem = '' WHERE rowid = ?",
                  {j->rowid});
        Registar_Transferencia(j->idade, j->pos, com_idade(*j), j->forca, "C", j->preco);
        Movimento_Financeiro("V-", j->preco);
    });
    if (r == Resultado_Negocio::Feito) ui().aviso(txt("Jogador Comprado.", "You Buy the Player."), Icone::Informacao);
    return r;
}

} // namespace gv
