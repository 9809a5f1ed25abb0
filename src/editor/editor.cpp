#include "editor/editor.h"

#include <cctype>
#include <cstring>

#include "data/esquema.h"
#include "data/estado.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"

namespace gv {

namespace {

// Only the six known suffixes ever reach a table name.
std::string sufixo(const std::string& cc) {
    for (const char* p : Codigos_Pais)
        if (cc == p) return cc;
    throw db::Erro_BD(db::ERRO_FICHEIRO, "Conjunto de clubes desconhecido: " + cc);
}

void recusar(const char* pt, const char* en) { ui().aviso(txt(pt, en), Icone::Critico); }

std::string minusculas(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

bool nome_aceitavel(const std::string& nome) {
    return nome.find_first_of(Caracteres_Recusados) == std::string::npos;
}

std::vector<Clube_Editor> Ler_Clubes_Editor(const std::string& cc) {
    std::vector<Clube_Editor> r;
    auto rs = base_aberta().OpenRecordset("SELECT clube, div FROM clubes_" + sufixo(cc) + " ORDER BY clube");
    for (; !rs.Eof(); rs.MoveNext()) r.push_back({rs["clube"].texto(), rs["div"].int32()});
    return r;
}

std::vector<Jogador_Editor> Ler_Jogadores_Editor(const std::string& cc, const std::string& clube) {
    std::vector<Jogador_Editor> r;
    const std::string sql = "SELECT rowid, pos, nome, idade FROM jogadores_" + sufixo(cc) +
                            " WHERE equipa = ? AND pos = ? ORDER BY forca DESC, rowid";
    for (const char* pos : Codigos_Posicao) {
        auto rs = base_aberta().OpenRecordset(sql, {clube, pos});
        for (; !rs.Eof(); rs.MoveNext()) r.push_back({rs.rowid(), rs["pos"].texto(), rs["nome"].texto(), rs["idade"].int32()});
    }
    return r;
}

Resultado_Edicao Actualizar_Dados_Equipa(const std::string& cc, const std::string& antigo, const std::string& novo_texto,
                                         const std::function<void()>& depois) {
    const std::string s = sufixo(cc);
    const std::string novo = aparar(novo_texto);
    if (novo == aparar(antigo)) return Resultado_Edicao::Nada;
    if (novo.empty()) {
        recusar("Tem que inserir um Nome de uma Equipa.", "You must Enter a Team Name.");
        return Resultado_Edicao::Recusado;
    }
    if (!nome_aceitavel(novo)) {
        recusar("O nome não pode conter nenhum destes caracteres: $%*)(|=><\\/'#&;,",
                "The name cannot hold any of these characters: $%*)(|=><\\/'#&;,");
        return Resultado_Edicao::Recusado;
    }
    auto& d = base_aberta();
    // Another league club or cup entrant of the set with that name (case and
    // accents aside) would merge two clubs into one.
    int ocupado = d.valor("SELECT count(*) FROM clubes_" + s + " WHERE trim(clube) = ? COLLATE NOME", {novo}).int32() +
                  d.valor("SELECT count(*) FROM Clubes_Taca_" + s + " WHERE trim(clube) = ? COLLATE NOME AND clube <> ?", {novo, antigo})
                      .int32();
    if (ocupado > 0) {
        recusar("Já existe um Clube com o Nome Escolhido. Escolha outro Nome.",
                "There is a Team with the Name you choose. Choose another Name.");
        return Resultado_Edicao::Recusado;
    }
    db::Transaccao t(d);
    if (d.Execute("UPDATE clubes_" + s + " SET clube = ? WHERE clube = ?", {novo, antigo}) == 0) {
        // Nothing to rename: no success to report.
        recusar("A equipa a alterar já não existe.", "The team to change no longer exists.");
        return Resultado_Edicao::Recusado;
    }
    ponto_de_falha("editor.renomear");
    d.Execute("UPDATE Clubes_Taca_" + s + " SET clube = ? WHERE clube = ?", {novo, antigo});
    d.Execute("UPDATE jogadores_" + s + " SET equipa = ? WHERE equipa = ?", {novo, antigo});
    t.commit();
    if (depois) depois();
    ui().aviso(txt("Nome da Equipa Alterada com Sucesso.", "The name of the Team was Updated with Sucess."),
               Icone::Informacao);
    return Resultado_Edicao::Feito;
}

Resultado_Edicao Actualizar_Dados_Jogador(const std::string& cc, const std::string& clube, long long rowid,
                                          const Dados_Jogador& novo, const Dados_Jogador& carregado,
                                          const std::function<void()>& depois) {
    const std::string s = sufixo(cc);
    const std::string nome = aparar(novo.nome), idade_texto = aparar(novo.idade), pos = aparar(novo.pos);
    if (nome == aparar(carregado.nome) && idade_texto == aparar(carregado.idade) && pos == aparar(carregado.pos))
        return Resultado_Edicao::Nada;
    if (nome.empty() && idade_texto.empty() && pos.empty()) return Resultado_Edicao::Nada;
    if (rowid == 0) return Resultado_Edicao::Nada;
    if (nome.empty()) {
        recusar("Tem que inserir o Nome do Jogador.", "You must enter the Player Name.");
        return Resultado_Edicao::Recusado;
    }
    if (idade_texto.empty()) {
        recusar("Tem que inserir a idade do Jogador.", "You must enter the Player Age.");
        return Resultado_Edicao::Recusado;
    }
    bool so_digitos = idade_texto.size() <= 2;
    for (char c : idade_texto) so_digitos = so_digitos && std::isdigit(static_cast<unsigned char>(c));
    const int idade = so_digitos ? std::stoi(idade_texto) : 0;
    if (idade < 18 || idade >= 38) {
        recusar("A idade do Jogador terá que ser < 38 ou >=18.", "The Player Age must be < 38 or >=18.");
        return Resultado_Edicao::Recusado;
    }
    if (!nome_aceitavel(nome)) {
        recusar("O nome não pode conter nenhum destes caracteres: $%*)(|=><\\/'#&;,",
                "The name cannot hold any of these characters: $%*)(|=><\\/'#&;,");
        return Resultado_Edicao::Recusado;
    }
    const std::string pos_minusculas = minusculas(pos);
    bool pos_valida = false;
    for (const char* p : Codigos_Posicao) pos_valida = pos_valida || pos_minusculas == p;
    if (!pos_valida) return Resultado_Edicao::Nada;
    auto& d = base_aberta();
    // A teammate with that name in that position; the player himself aside.
    if (d.valor("SELECT count(*) FROM jogadores_" + s + " WHERE trim(nome) = ? COLLATE NOME AND pos = ? AND trim(equipa) = ? COLLATE NOME "
                "AND rowid <> ?",
                {nome, pos_minusculas, aparar(clube), rowid})
            .int32() > 0) {
        recusar("Já existe um Jogador com esse Nome nesta posição. Escolha outro Nome.",
                "There is a Player in the Team with this Name in the same Position. Choose another Name.");
        return Resultado_Edicao::Recusado;
    }
    if (d.Execute("UPDATE jogadores_" + s + " SET nome = ?, idade = ?, pos = ? WHERE rowid = ?",
                  {nome, idade, pos_minusculas, rowid}) != 1) {
        recusar("O jogador a alterar já não existe.", "The player to change no longer exists.");
        return Resultado_Edicao::Recusado;
    }
    if (depois) depois();
    ui().aviso(txt("Dados do Jogador Alterados com Sucesso.", "The Player Infor. was Updated with Sucess."),
               Icone::Informacao);
    return Resultado_Edicao::Feito;
}

} // namespace gv
