// The fast engine over the benchmark corpus's whole small tier (3026
// instances, read by the project's reader; a few seconds), each verdict
// against the manifest's, each model against the clauses as the DRAT
// checker's own reader reads them, each refutation's DRAT proof checked.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "reader/raspok1.h"
#include "solver/fast/fast.h"
#include "support/input_file.h"
#include "support/literal.h"
#include "tools/drat_check.h"

namespace {

const std::string corpus = VETRIX_SOURCE_DIR "/../shared/bench";

struct Instance {
    std::string path;
    std::string expected;
};

std::vector<Instance> small_tier() {
    std::ifstream in(corpus + "/MANIFEST.tsv");
    std::vector<Instance> picked;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> col;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, '\t');)
            col.push_back(f);
        if (col.size() >= 8 && col[7] == "small")
            picked.push_back({col[0], col[4]});
    }
    return picked;
}

std::string text_of(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(FastCorpus, SmallTier) {
    struct stat st;
    if (stat((corpus + "/MANIFEST.tsv").c_str(), &st) != 0)
        GTEST_SKIP() << "skipped: no corpus at " << corpus;
    const std::vector<Instance> instances = small_tier();
    ASSERT_GT(instances.size(), 3000u);
    for (const Instance &inst : instances) {
        const std::string file = corpus + "/" + inst.path;
        vetrix::Formula formula;
        int nb_var = 0;
        {
            vetrix::InputFile input(file.c_str());
            ASSERT_TRUE(vetrix::raspok_dnf(input.text(), formula, nb_var)) << inst.path;
        }
        std::ostringstream proof;
        vetrix::fast::Engine engine;
        engine.set_proof(proof, false);
        if (formula.has_empty_clause())
            engine.add(0);
        for (int i = 0; i < formula.clause_count(); ++i) {
            for (const int *c = formula.clause_begin(i); c != formula.clause_end(i); ++c)
                engine.add(vetrix::code_to_dimacs(*c));
            engine.add(0);
        }
        const int verdict = engine.solve();
        engine.flush_proof();
        ASSERT_EQ(verdict == 10 ? "SAT" : verdict == 20 ? "UNSAT" : "UNKNOWN", inst.expected) << inst.path;
        dratcheck::Clauses clauses;
        std::string error;
        ASSERT_TRUE(dratcheck::read_dimacs(text_of(file), clauses, error)) << inst.path << ": " << error;
        if (verdict == 20) {
            const dratcheck::Verdict checked = dratcheck::check_proof(clauses, proof.str());
            EXPECT_TRUE(checked.valid && checked.refuted) << inst.path << ": " << checked.error;
            continue;
        }
        for (const dratcheck::Clause &c : clauses) {
            bool satisfied = false;
            for (int lit : c)
                satisfied |= engine.value(lit) == lit;
            EXPECT_TRUE(satisfied) << inst.path << ": a clause is false";
        }
    }
}

} // namespace
