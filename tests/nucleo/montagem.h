#pragma once
// A small file system of the test's own, where the machine allows one (a
// root with the right to mount): a disk made full, a folder made read-only,
// for real, where file permissions would not stop root.

#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace gv::teste {

class Montagem {
public:
    Montagem(const std::filesystem::path& pasta, int kib) : pasta_(pasta), opcoes_("size=" + std::to_string(kib) + "k") {
        std::filesystem::create_directories(pasta_);
        montada_ = ::mount("tmpfs", pasta_.c_str(), "tmpfs", 0, opcoes_.c_str()) == 0;
    }
    ~Montagem() {
        if (montada_) ::umount2(pasta_.c_str(), MNT_DETACH);
    }
    Montagem(const Montagem&) = delete;
    bool montada() const { return montada_; }
    bool so_leitura() { return ::mount("tmpfs", pasta_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, opcoes_.c_str()) == 0; }
    // Fills what is left of the disk.
    void encher() {
        std::ofstream f(pasta_ / "enchimento", std::ios::binary);
        const std::string bloco(4096, 'x');
        while (f.write(bloco.data(), static_cast<std::streamsize>(bloco.size()))) {}
    }

private:
    std::filesystem::path pasta_;
    std::string opcoes_;
    bool montada_ = false;
};

} // namespace gv::teste
