#pragma once
// Which state of a game a file holds. Every commit of a game in play draws
// a mark of its own and keeps beside it the mark of the commit before it,
// both in the file's header (user_version and application_id): a log
// continues a file when its first commit follows the file's mark.

namespace gv::db {

struct Marca {
    long long marca = 0, anterior = 0;
    bool operator==(const Marca&) const = default;
};

} // namespace gv::db
