// Checks of the fatal paths: the statement must leave by a vetrix::Error
// with exactly the command line's message and exit status 1.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "vetrix/vetrix.h"

template <class F> testing::AssertionResult fails_with(F f, const std::string &message) {
    try {
        f();
    } catch (const vetrix::Error &e) {
        if (e.message() == message && e.status() == 1)
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "message " << testing::PrintToString(e.message()) << ", status "
                                           << e.status();
    }
    return testing::AssertionFailure() << "no vetrix::Error";
}
