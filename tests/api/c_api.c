/* The C interface from a C program: verdicts, the model, and every failure
 * as -1 with the command line's message, cut to the buffer; a race of
 * strategies and its winner; a proof file. */
#include <stdio.h>
#include <string.h>

#include <vetrix/vetrix_c.h>

static int failures;

static void check(int ok, const char *what) {
    if (!ok) {
        printf("failed: %s\n", what);
        ++failures;
    }
}

/* vetrix_solve on lits must fail with message. */
static void check_error(int num_vars, const int *lits, size_t num_lits, int strategy, const char *message) {
    char error[64];
    int model[4];
    memset(error, 'x', sizeof error);
    check(vetrix_solve(num_vars, lits, num_lits, strategy, model, error, sizeof error) == -1, message);
    check(strcmp(error, message) == 0, message);
}

/* vetrix_solve_proof: the LRAT proof of a unit clause and its complement's,
 * with a dropped clause between them, names them by their places; a bad
 * flag is an error. */
static void check_proofs(void) {
    const int pair[] = {1, 2, 0, 2, -2, 2, 0, -1, 0, 1, 0};
    const int one = 1;
    const char *path = "c_api_proof.lrat"; /* in the test's working folder */
    char text[64], error[64];
    FILE *file;
    size_t n;
    check(vetrix_solve_proof(2, pair, 11, &one, 1, path, VETRIX_PROOF_LRAT, NULL, NULL, NULL, 0) == 20,
          "proof: unsatisfiable");
    file = fopen(path, "rb");
    n = file ? fread(text, 1, sizeof text - 1, file) : 0;
    text[n] = '\0';
    if (file)
        fclose(file);
    remove(path);
    check(strcmp(text, "5 0 3 4 0\n") == 0, "proof: the LRAT refutation of the unit pair");
    check(vetrix_solve_proof(2, pair, 11, &one, 1, path, 4, NULL, NULL, error, sizeof error) == -1 &&
              strcmp(error, "bad proof flags 4\n") == 0,
          "proof: bad flags");
}

int main(void) {
    /* (x1 or not x2) and (x2 or x3) and (not x1): the one model -1 -2 3. */
    const int sat[] = {1, -2, 0, 2, 3, 0, -1, 0};
    const int unsat[] = {1, 0, -1, 0};
    const int empty_clause[] = {1, 2, 0, 0};
    const int out_of_range[] = {1, 0, 4, 0};
    const int unended[] = {1, 0, 2, 3};
    int model[3] = {0, 0, 0};
    char cut[8];
    const int all_three[] = {2, 0, 1};
    const int twice[] = {1, 1};
    int winner = -1;
    char error[64];
    int strategy;

    for (strategy = 0; strategy <= 2; ++strategy) {
        check(vetrix_solve(3, sat, 8, strategy, model, NULL, 0) == 10, "satisfiable");
        check(model[0] == -1 && model[1] == -2 && model[2] == 3, "model");
    }
    check(vetrix_solve(1, unsat, 4, 0, model, NULL, 0) == 20, "unsatisfiable");
    check(vetrix_solve(2, empty_clause, 4, 1, NULL, NULL, 0) == 20, "empty clause");
    check(vetrix_solve(0, NULL, 0, 2, NULL, NULL, 0) == 10, "no variables, no clauses");

    check_error(3, out_of_range, 4, 0, "literal 4 out of range in clause 2\n");
    check_error(3, sat, 8, 4, "wrong strategy 4\n");
    check_error(-1, sat, 8, 0, "wrong array size\n");
    check_error(3, unended, 4, 0, "clause 2 is not ended by 0\n");

    check(vetrix_solve(3, out_of_range, 4, 0, model, cut, sizeof cut) == -1, "cut message");
    check(strcmp(cut, "literal") == 0, "message cut to 7 bytes and its NUL");
    check(vetrix_solve(3, sat, 8, 0, model, cut, sizeof cut) == 10, "a solve after an error");

    check(vetrix_solve_race(3, sat, 8, all_three, 3, &winner, model, NULL, 0) == 10, "race: satisfiable");
    check(winner >= 0 && winner <= 2, "race: the winner");
    check(model[0] == -1 && model[1] == -2 && model[2] == 3, "race: the model");
    check(vetrix_solve_race(1, unsat, 4, all_three + 1, 1, &winner, NULL, NULL, 0) == 20 && winner == 0,
          "race of one: unsatisfiable, its strategy");
    check(vetrix_solve_race(3, sat, 8, twice, 2, NULL, model, error, sizeof error) == -1 &&
              strcmp(error, "repeated strategy 1\n") == 0,
          "race: a strategy listed twice");
    check(vetrix_solve_race(3, sat, 8, NULL, 0, NULL, model, error, sizeof error) == -1 &&
              strcmp(error, "no strategy to race\n") == 0,
          "race: no strategy");

    check_proofs();

    printf("%s\n", failures ? "C interface: failures" : "C interface: all checks passed");
    return failures != 0;
}
