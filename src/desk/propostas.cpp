#include "desk/propostas.h"

#include "data/clubes.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/movimentos.h"
#include "matchday/sorteio.h"
#include "platform/aleatorio.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

int Divisao_Do_Jogador(int forca) { return forca <= 40 ? 3 : forca <= 65 ? 2 : 1; }

std::string Escolher_Clube_Interessado(int div, const std::string& pos) {
    // Every kind of draw is tried before giving up, so an empty answer
    // means no club of the division can be chosen at all.
    for (int tentativa = 0; tentativa < 200; ++tentativa) {
        std::string clube;
        double r1 = Sorteio();
        if (r1 <= 0.33) {
            double r2 = Sorteio();
            clube = r2 <= 0.2 ? Clube_Aleatorio_Topo(div) : r2 <= 0.55 ? Clube_Aleatorio_Meio(div) : Clube_Aleatorio_Fundo(div);
        } else if (r1 <= 0.66) {
            double r2 = Sorteio();
            if (r2 <= 0.4)
                clube = Clube_Forte_Posicao(div, pos);
            else if (r2 > 0.6)
                clube = Clube_Fraco_Posicao(div, pos);
        } else {
            clube = Clube_Falta_Posicao(div, pos);
        }
        if (!aparar(clube).empty()) return clube;
    }
    return {};
}

Resultado_Proposta Propostas() {
    if (!Base_Dados) return Resultado_Proposta::Nenhuma;
    auto& d = *Base_Dados;
    Randomize();
    if (Sorteio() < 0.4) return Resultado_Proposta::Nenhuma;
    auto rs = d.OpenRecordset("SELECT rowid, pos, nome, preco, forca, idade FROM jogadores WHERE equipa = ? AND "
                              "trim(clube_origem) = '0' AND joga <> 3 AND pos <> 'gk' ORDER BY rowid",
                              {Clube_Treinador});
    const int n = rs.RecordCount();
    if (n == 0) return Resultado_Proposta::Nenhuma;
    rs.Move(Int(Sorteio() * n));
    const long long id = rs.rowid();
    const std::string pos = rs["pos"].texto(), nome = rs["nome"].texto();
    const long preco = static_cast<long>(rs["preco"].inteiro());
    const int forca = rs["forca"].int32(), idade = rs["idade"].int32();

    Randomize();
    const double r = Sorteio();
    bool emprestimo;
    if (Jornada_Actual <= 25 && r > 0.5)
        emprestimo = true;
    else if (r <= 0.5)
        emprestimo = false;
    else
        return Resultado_Proposta::Nenhuma;

    const int div = Divisao_Do_Jogador(forca);
    const std::string clube = Escolher_Clube_Interessado(div, pos);
    if (clube.empty()) return Resultado_Proposta::Nenhuma;
    const double R = Sorteio(), p = static_cast<double>(preco);
    const long valor = emprestimo ? static_cast<long>(Int(Int(R * 0.3 * p) + (p - p * 0.95)))
                                  : static_cast<long>(Int(Int(R * 0.9 * p) + (p - p * 0.05)));

    const std::string cabeca = ingles() ? "The team " + maiusculas(clube) + " (" + std::to_string(div) + "ª Div.), offer " +
                                              formatar_dinheiro(valor) + (emprestimo ? " for" : " to") + " the player: " +
                                              nome + " (" + pos + ")\n"
                                        : "O clube " + maiusculas(clube) + " (" + std::to_string(div) +
                                              "ª Div.), oferece " + formatar_dinheiro(valor) + " pelo Jogador: " + nome +
                                              " (" + pos + ")\n";
    const std::string pergunta = cabeca + (emprestimo ? txt("Aceita EMPRESTAR este jogador? ", "Do you agree LOAN this player? ")
                                                      : txt("Aceita VENDER o Jogador?", "Do you want to SELL this player?"));
    if (!ui().pergunta(pergunta, 0)) return Resultado_Proposta::Recusada;

    const std::string registo = nome + " (" + std::to_string(idade) + ")";
    try {
        db::Transaccao t(d);
        if (emprestimo) {
            int mudou = d.Execute("UPDATE jogadores SET equipa = ?, clube_origem = ?, emprestado = 1 "
                                  "WHERE rowid = ? AND equipa = ?",
                                  {clube, Clube_Treinador, id, Clube_Treinador});
            if (mudou != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + nome + " já não está no clube");
            Movimento_Financeiro("E+", valor);
            Registar_Transferencia(idade, pos, registo, forca, "E-", valor);
        } else {
            Mudar_Clube_Jogador(preco, pos, nome, idade, forca, Clube_Treinador, clube, id);
            Movimento_Financeiro("V+", valor);
            Registar_Transferencia(idade, pos, registo, forca, "V", valor);
        }
        ponto_de_falha("proposta.gravar");
        t.commit();
    } catch (const db::Falha_BD& e) {
        ui().aviso(std::string(txt("Não foi possível concluir o negócio.", "The deal could not be completed.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return Resultado_Proposta::Recusada;
    }
    ui().aviso(emprestimo ? txt("Jogador Emprestado ao ", "The player was loan to the team ") + maiusculas(clube) +
                                txt(" até ao final da época.", " until the end of the year.")
                          : txt("Jogador Vendido ao ", "The player was sell to the team ") + maiusculas(clube),
               Icone::Informacao);
    Proposta_Feita = 1;
    return emprestimo ? Resultado_Proposta::Emprestimo : Resultado_Proposta::Venda;
}

} // namespace gv
