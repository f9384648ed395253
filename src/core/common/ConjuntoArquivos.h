#pragma once
// A set of files replaced as one: after a crash at any moment the folder holds either the
// whole old set or the whole new one, never a mix (a new .hdr beside an old .flt, a new .vet
// beside the .bdt of another run).
//
// How it works, as databases commit several pages at once:
//  1. Each member is written by its own writer into a staging folder beside its target
//     ("conjunto-<pid>-<n>.gravando", one per target folder), under its final file name.
//     A writer may leave companions there too (a grid's .hdr and .prj, a Shapefile's parts):
//     every file it leaves is a member.
//  2. Every staged file is synced, then a journal listing every member (staged name, target,
//     inode) and every name to remove is written and synced into each staging folder.
//  3. The staged files are renamed over their targets, the names to remove are removed, and
//     the staging folders with their journals go.
// A run that dies before step 3 leaves staging folders without a complete journal in at
// least one of them: the next run rolls them back (removes them; the old set stays). One
// that dies during step 3 leaves complete journals: the next run rolls forward (finishes
// the renames), because every new member is either still staged or already in place.
//
// The journal ("diario") is text: the line "VANDORO-CONJUNTO 1", then one line per staging
// folder "P <n>:<path>", per member "M <n>:<staged> <n>:<target> <inode of the staged file>"
// and per name to remove "R <n>:<name>" (<n> the byte length of the name that follows, so
// any name, newlines included, fits), and "FIM" last: a journal without it is cut short.
//
// The next run that writes a set into a folder, or calls RecuperarPasta on it, does this for
// every staging folder there whose writer is gone (the process id in the name no longer
// runs); another run's live staging folder is never touched.
//
// Usage:
//   TConjuntoArquivos c;
//   c.Membro("a/x.vet", [&](const std::string& tmp) { vet.Save(tmp); });
//   c.Membro("a/x.bdt", [&](const std::string& tmp) { bdt.SaveToFile(tmp); });
//   c.Remover("a/x.prj");  // unless a writer leaves one: an old .prj must not stay
//   c.Gravar();            // all or nothing; raises the writer's EVandoro on failure
#include <functional>
#include <string>
#include <vector>

class TConjuntoArquivos {
public:
    using TEscritor = std::function<void(const std::string& temporario)>;

    // 'nome' is replaced by what 'escrever' writes to the path it is given (same file name,
    // in the staging folder beside 'nome').
    void Membro(const std::string& nome, TEscritor escrever);
    // A file the new set does not have: removed with the set unless a writer left one of
    // that name.
    void Remover(const std::string& nome);
    // Writes every member, then replaces the old set at once. Any failure before the
    // renames leaves every old file as it was; an EVandoro from a writer passes through,
    // other failures raise EVandoro naming the file.
    void Gravar();

private:
    struct TMembro {
        std::string nome;
        TEscritor escrever;
    };
    std::vector<TMembro> membros_;
    std::vector<std::string> remover_;
};

// Rolls every abandoned set of 'pasta' forward or back, removes its leftover staging folders
// and the temporaries single-file writes of dead runs left ("x.flt.1234.gravando"); live ones
// (their process still runs) are left alone. Never raises.
void RecuperarPasta(const std::string& pasta);

// The staging folder prefix and suffix, for tests and readers that skip them.
inline constexpr const char* kPrefixoConjunto = "conjunto-";
inline constexpr const char* kSufixoConjunto = ".gravando";
// The journal inside a staging folder.
inline constexpr const char* kNomeDiario = "diario";
