#include "data/estado.h"

namespace gv {

std::unique_ptr<db::Database> Base_Dados;
std::string Texto_SQL;
std::string Ligacao_BD;
std::string Ficheiro_Jogo;
std::string Pasta_Programa = ".";

std::string Nome_Treinador;
std::string Clube_Treinador;
int Jornada_Actual = 0;
int Epoca_Actual = 0;
int Eliminatoria_Taca = 0;
int Jogo_Real = 0;
std::string Vencedor_Taca;
std::string Lingua = "P";

std::string Adversario;
int Jogo_Em_Casa = 0;
int Preco_Bilhete = 0;
int Proposta_Feita = 0;
int Prestacao_Paga = 0;
int Estagio_Feito = 0;
int Ronda_Jogada = 0;
int Ronda_Com_Preparacao = 0;
std::function<void()> Compras_Da_Ronda;
int N_Substituicoes = 0;
std::string Texto_Marcadores;
int Tabelas_Modo_Consulta = 0;
int Lista_Venda_Carregada = 0;
std::string Clube_Consulta;
long Valor_Aux = 0;
int Contrato_Compra = 0;

db::Database& base_aberta() {
    if (!Base_Dados) throw db::Erro_BD(db::ERRO_SEM_BASE, "Não há base de dados aberta");
    return *Base_Dados;
}

std::string caminho_base_mestra() { return Pasta_Programa + "/" + NOME_BASE_MESTRA; }

void Estado_Guardado::repor() const {
    Epoca_Actual = epoca;
    Jornada_Actual = jornada;
    Eliminatoria_Taca = eliminatoria;
    Ronda_Jogada = ronda_jogada;
    N_Substituicoes = substituicoes;
    Prestacao_Paga = prestacao;
    Vencedor_Taca = vencedor;
    Clube_Treinador = clube;
    Texto_SQL = sql;
    Texto_Marcadores = marcadores;
}

void repor_estado() {
    if (Base_Dados) Base_Dados->Close();
    Base_Dados.reset();
    Texto_SQL.clear();
    Ficheiro_Jogo.clear();
    Nome_Treinador.clear();
    Clube_Treinador.clear();
    Jornada_Actual = Epoca_Actual = Eliminatoria_Taca = Jogo_Real = 0;
    Vencedor_Taca.clear();
    Lingua = "P";
    Adversario.clear();
    Jogo_Em_Casa = Preco_Bilhete = Proposta_Feita = Prestacao_Paga = Estagio_Feito = 0;
    Ronda_Jogada = Ronda_Com_Preparacao = N_Substituicoes = Tabelas_Modo_Consulta = Lista_Venda_Carregada = 0;
    Compras_Da_Ronda = nullptr;
    Texto_Marcadores.clear();
    Clube_Consulta.clear();
    Valor_Aux = 0;
    Contrato_Compra = 0;
}

} // namespace gv
