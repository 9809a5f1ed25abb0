#include "market/compras.h"

#include <cmath>

#include "data/clubes.h"
#include "data/consultas.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/jogadores_novos.h"
#include "data/movimentos.h"
#include "market/comum.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

namespace {

bool da_venda(Lista_Origem o) { return o == Lista_Origem::Venda; }

Resultado_Negocio recusar(const std::string& texto) {
    ui().aviso(texto, Icone::Critico);
    return Resultado_Negocio::Recusado;
}

Resultado_Negocio sem_dinheiro(Lista_Origem o, long saldo) {
    const char* en = da_venda(o) ? "You don't have enough money - Money: (" : "You doesn't have enough money - Money: (";
    return recusar(txt("Não tem Dinheiro suficiente - Saldo: (", en) + std::to_string(saldo) + ")");
}

// The listed player is still where the row says and free to be dealt.
bool ainda_disponivel(const Jogador_Listado& j) {
    return base_aberta()
               .valor("SELECT count(*) FROM jogadores WHERE rowid = ? AND equipa = ? AND emprestado = 0 "
                      "AND clube_origem = '0'",
                      {j.rowid, j.clube})
               .int32() == 1;
}

Resultado_Negocio indisponivel() {
    return recusar(txt("Este jogador já não se encontra disponível neste clube.",
                       "This player is no longer available at this club."));
}

std::string com_idade(const Jogador_Listado& j) { return j.nome + " (" + std::to_string(j.idade) + ")"; }

std::string rota(const std::string& de) {
    return "(" + std::to_string(Divisao_Clube(de)) + ") " + de + " -> " + Clube_Treinador + " (" +
           std::to_string(Divisao_Clube(Clube_Treinador)) + ")";
}

enum class Caso_Compra { Imediata, Depois_Do_Nao, Sem_Clube };

std::string texto_compra(Lista_Origem o, Caso_Compra caso, const Jogador_Listado& j, long preco, int contrato) {
    const std::string nome = maiusculas(j.nome), valor = formatar_dinheiro(preco), epocas = std::to_string(contrato);
    if (!ingles()) return "Comprou o Jogador " + nome + " por " + valor + ". Contrato de " + epocas + " Época(s).";
    if (!da_venda(o)) return "You buy the player " + nome + " for " + valor + ". The contract lenght is " + epocas + " year(s).";
    switch (caso) {
    case Caso_Compra::Imediata: return "You buy the player " + nome + " for " + valor + ". The contact lenght is " + epocas + " Year(s).";
    case Caso_Compra::Depois_Do_Nao: return "You buy the player " + nome + " for " + valor + ". Contract lenght is " + epocas + " year(s).";
    case Caso_Compra::Sem_Clube: break;
    }
    return "You buy the player " + nome + " for " + valor + ". Contarct lenght is " + epocas + " year(s).";
}

std::string texto_contraproposta(Lista_Origem o, const std::string& clube, long preco) {
    const std::string valor = formatar_dinheiro(preco);
    if (!ingles())
        return "A sua Proposta foi aceite mas o clube " + clube + " propoe ficar com o jogador até final \n" +
               (da_venda(o) ? "da epoca por um desconto de 15%, i. e. - Custo " : "da epoca por um desconto de 15%, i. e. - Custo Final: ") +
               valor + ". Concorda ? ";
    if (da_venda(o))
        return "Your proposal was accepted, but the team " + clube + " wants to stay with the player until the end \n" +
               "of the year with a discount of 15%, New Price: " + valor + ". Do you Agree? ";
    return "Your proposal was accepted but the team " + clube + " wants the player until the end \n" +
           "of the year with a price discount of 15%, - Final Price: " + valor + ". Do you agree? ";
}

// Logs and pays a purchase.
void registar_compra(const Jogador_Listado& j, long preco) {
    Movimento_Financeiro("V-", preco);
    Registar_Transferencia(j.idade, j.pos, com_idade(j), j.forca, "C", preco);
    Registar_Transferencia_Clubes(j.idade, j.pos, j.nome, j.forca, rota(j.clube), preco);
}

void mover_marcador(const Jogador_Listado& j) {
    base_aberta().Execute(
        "UPDATE Melhores_Marcadores_Sempre SET equipa = ? WHERE nome = ? AND equipa = ? AND pos = ? AND idade = ?",
        {Clube_Treinador, j.nome, j.clube, j.pos, j.idade});
}

Resultado_Negocio compra_imediata(const Jogador_Listado& j, long preco, long ordenado, int contrato) {
    return Numa_Transaccao([&] {
        mover_marcador(j);
        const int n = base_aberta().Execute(
            "UPDATE jogadores SET joga = 0, equipa = ?, ordenado = ?, contrato = ? WHERE rowid = ? AND equipa = ?",
            {Clube_Treinador, ordenado, contrato, j.rowid, j.clube});
        if (n != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + j.nome + " já não existe");
        registar_compra(j, preco);
    });
}

} // namespace

void Aviso_Ja_Transferido(Lista_Origem origem, bool emprestimo) {
    const char* en = da_venda(origem) ? "This player was already sold."
                     : emprestimo     ? "This player was alredy transfer."
                                      : "this player was already transfered.";
    ui().aviso(txt("Este Jogador vá foi transferido.", en), Icone::Critico);
}

Resultado_Negocio Comprar_Jogador_Listado(const Jogador_Listado& j, Lista_Origem origem) {
    int contrato = j.contrato < 0 ? 0 : j.contrato;
    try {
        if (da_venda(origem)) {
            if (contrato == 0) contrato = 1;
            const int juniores = Base_Dados->valor("SELECT count(*) FROM transferencias WHERE epoca = ? AND idade < 17 "
                                                   "AND tipo = 'C'",
                                                   {Epoca_Actual})
                                     .int32();
            if (juniores >= 4 && j.idade < 17)
                return recusar(txt("Só pode comprar 4 jogadores por Época com idade inferior a 17 anos.",
                                   "You can only buy 4 player with age bellow 17."));
        }
        Valor_Aux = j.preco;
        Contrato_Compra = contrato + 1;
        Randomize();
        const long ordenado = Int((Rnd() * 0.005 + 0.01) * static_cast<double>(Valor_Aux));
        const long saldo = Ler_Saldo();
        if (saldo - Valor_Aux < Limite_Saldo) return sem_dinheiro(origem, saldo);

        if (j.sem_clube()) {
            const long valor = Preco_Jogador(j.forca, j.idade);
            auto r = Numa_Transaccao([&] {
                base_aberta().Execute("INSERT INTO jogadores (nome, pos, equipa, forca, idade, preco, ordenado, contrato, joga) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 0)",
                                      {j.nome, j.pos, Clube_Treinador, j.forca, j.idade, valor, ordenado, Contrato_Compra});
                registar_compra(j, Valor_Aux);
            });
            if (r == Resultado_Negocio::Feito)
                ui().aviso(texto_compra(origem, Caso_Compra::Sem_Clube, j, Valor_Aux, Contrato_Compra), Icone::Informacao);
            return r;
        }

        if (!ainda_disponivel(j)) return indisponivel();
        if (Rnd() >= 0.5 && Jornada_Actual < 26) {
            auto r = compra_imediata(j, Valor_Aux, ordenado, Contrato_Compra);
            if (r == Resultado_Negocio::Feito)
                ui().aviso(texto_compra(origem, Caso_Compra::Imediata, j, Valor_Aux, Contrato_Compra), Icone::Informacao);
            return r;
        }

        const long desconto = static_cast<long>(std::floor(static_cast<double>(Valor_Aux) * 0.85));
        Mensagem m;
        m.texto = texto_contraproposta(origem, j.clube, desconto);
        m.titulo = "Compra de Jogador";
        m.icone = Icone::Informacao;
        m.botoes = Botoes::SimNao;
        m.botao_defeito = 1;
        if (ui().mensagem(m) == Resposta::Sim) {
            // He belongs to the manager's club from now and plays for his
            // old one until the season change brings him over.
            auto r = Numa_Transaccao([&] {
                mover_marcador(j);
                const int n = base_aberta().Execute(
                    "UPDATE jogadores SET emprestado = 1, clube_origem = ?, ordenado = ?, contrato = ?, joga = 0 "
                    "WHERE rowid = ? AND equipa = ?",
                    {Clube_Treinador, ordenado, Contrato_Compra + 1, j.rowid, j.clube});
                if (n != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + j.nome + " já não existe");
                registar_compra(j, desconto);
            });
            if (r == Resultado_Negocio::Feito)
                ui().aviso(txt("O jogador ficara emprestado até ao fim da epoca.",
                               "The player will be loan until the end of the year."),
                           Icone::Informacao);
            return r;
        }
        auto r = compra_imediata(j, Valor_Aux, ordenado, Contrato_Compra);
        if (r == Resultado_Negocio::Feito)
            ui().aviso(texto_compra(origem, Caso_Compra::Depois_Do_Nao, j, Valor_Aux, Contrato_Compra), Icone::Informacao);
        return r;
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
}

Resultado_Negocio Pedir_Emprestado_Listado(const Jogador_Listado& j, Lista_Origem origem) {
    const bool venda = da_venda(origem);
    if (j.idade > 30)
        return recusar(txt("Este jogador não quer ser emprestado.",
                           venda ? "This player doesn't want to be loan." : "This player doesn't want to be loaned."));
    if (j.sem_clube() || j.taxa < 0)
        return recusar(txt("Este jogador não pode ser emprestado.",
                           venda ? "This player can't be loan." : "This player can't be loaned."));
    try {
        const long saldo = Ler_Saldo();
        if (static_cast<double>(saldo) - static_cast<double>(j.taxa) < Limite_Saldo) return sem_dinheiro(origem, saldo);
        if (!ainda_disponivel(j)) return indisponivel();
    } catch (const db::Erro_BD& e) {
        Negocio_Falhou(e);
        return Resultado_Negocio::Falhou;
    }
    auto r = Numa_Transaccao([&] {
        const int n = base_aberta().Execute(
            "UPDATE jogadores SET joga = 0, emprestado = 1, equipa = ?, clube_origem = ? WHERE rowid = ? AND equipa = ?",
            {Clube_Treinador, j.clube, j.rowid, j.clube});
        if (n != 1) throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O jogador " + j.nome + " já não existe");
        Movimento_Financeiro("E-", j.taxa);
        Registar_Transferencia(j.idade, j.pos, com_idade(j), j.forca, "E+", j.taxa);
    });
    if (r == Resultado_Negocio::Feito)
        ui().aviso(txt("O Jogador é emprestado até ao final da época.",
                       venda ? "The player is loan until the end of the year."
                             : "The player will be loaned until the end of the season."),
                   Icone::Informacao);
    return r;
}

} // namespace gv
