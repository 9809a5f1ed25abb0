// Builds the master database from the seed data text: one tab-separated
// file per table, named after the table, with a header line of columns.
//
//   construir_mestre <seed folder> <output file>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "data/esquema.h"
#include "data/estado.h"

namespace fs = std::filesystem;
using namespace gv;

namespace {

std::vector<std::string> partir(const std::string& linha) {
    std::vector<std::string> r;
    std::string campo;
    std::istringstream in(linha);
    while (std::getline(in, campo, '\t')) r.push_back(campo);
    if (!linha.empty() && linha.back() == '\t') r.emplace_back();
    return r;
}

const Coluna* coluna_de(const Tabela& t, const std::string& nome) {
    for (const auto& c : t.colunas)
        if (db::chave_nome(c.nome) == db::chave_nome(nome)) return &c;
    return nullptr;
}

int carregar(db::Database& d, const Tabela& t, const fs::path& ficheiro) {
    std::ifstream in(ficheiro);
    std::string linha;
    if (!std::getline(in, linha)) throw std::runtime_error("ficheiro vazio: " + ficheiro.string());
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    auto cabecalho = partir(linha);
    std::vector<const Coluna*> colunas;
    std::string sql = "INSERT INTO \"" + t.nome + "\" (";
    for (std::size_t i = 0; i < cabecalho.size(); ++i) {
        const Coluna* c = coluna_de(t, cabecalho[i]);
        if (!c) throw std::runtime_error(ficheiro.string() + ": a tabela não tem a coluna " + cabecalho[i]);
        colunas.push_back(c);
        sql += (i ? ", \"" : "\"") + std::string(c->nome) + "\"";
    }
    sql += ") VALUES (";
    for (std::size_t i = 0; i < colunas.size(); ++i) sql += i ? ", ?" : "?";
    sql += ")";
    int n = 0, numero_linha = 1;
    while (std::getline(in, linha)) {
        ++numero_linha;
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        if (linha.empty()) continue;
        auto campos = partir(linha);
        if (campos.size() != colunas.size())
            throw std::runtime_error(ficheiro.string() + ":" + std::to_string(numero_linha) + ": esperava " +
                                     std::to_string(colunas.size()) + " campos");
        db::Parametros p;
        for (std::size_t i = 0; i < campos.size(); ++i) {
            if (colunas[i]->tipo == Tipo_Coluna::Texto) {
                p.emplace_back(campos[i]);
            } else {
                std::size_t usado = 0;
                long long v = std::stoll(campos[i], &usado);
                if (usado != campos[i].size())
                    throw std::runtime_error(ficheiro.string() + ":" + std::to_string(numero_linha) +
                                             ": número inválido " + campos[i]);
                p.emplace_back(v);
            }
        }
        d.Execute(sql, p);
        ++n;
    }
    return n;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: construir_mestre <pasta das sementes> <ficheiro de saída>\n";
        return 2;
    }
    fs::path pasta = argv[1], saida = argv[2];
    fs::path temporario = saida;
    temporario += ".construir";
    std::error_code ec;
    fs::remove(temporario, ec);
    try {
        std::vector<Tabela> todas = tabelas_base();
        {
            auto d = db::Database::criar(temporario.string(), LIGACAO_JOGO);
            d->BeginTrans();
            criar_esquema(*d);
            for (const char* cc : Codigos_Pais) {
                criar_tabelas_semente(*d, cc);
                for (auto& t : tabelas_semente(cc)) todas.push_back(t);
            }
            int ficheiros = 0;
            for (const auto& entrada : fs::directory_iterator(pasta)) {
                if (entrada.path().extension() != ".tsv") continue;
                std::string nome = entrada.path().stem().string();
                const Tabela* t = nullptr;
                for (const auto& x : todas)
                    if (db::chave_nome(x.nome) == db::chave_nome(nome)) t = &x;
                if (!t) throw std::runtime_error("nenhuma tabela para " + entrada.path().string());
                int n = carregar(*d, *t, entrada.path());
                std::cout << t->nome << ": " << n << "\n";
                ++ficheiros;
            }
            if (ficheiros == 0) throw std::runtime_error("não há sementes em " + pasta.string());
            d->CommitTrans();
            d->Execute("VACUUM");
            d->Close();
        }
        fs::rename(temporario, saida);
    } catch (const std::exception& e) {
        fs::remove(temporario, ec);
        std::cerr << "construir_mestre: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
