// A GoogleTest suite whose cases share one kv5 session: ctest would otherwise start a server and
// a game for each case. `Suite::sessionOptions()` chooses the session.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>

#include "tests/game/x11/kv5_session.h"

namespace kv::x11test {

template <typename Suite>
class Kv5Suite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        try {
            session_ = std::make_unique<Kv5Session>(KV5_PATH, KV_STAGE_DIR, Suite::sessionOptions());
        } catch (const std::exception& e) {
            setupError_ = e.what();
        }
    }
    static void TearDownTestSuite() { session_.reset(); }
    void SetUp() override
    {
        if (!session_)
            FAIL() << "kv5 could not be brought up on Xvfb: " << setupError_;
    }
    void TearDown() override
    {
        if (HasFailure() && session_)
            std::cerr << "kv5's own output:\n" << session_->gameOutput() << '\n';
    }

    static inline std::unique_ptr<Kv5Session> session_;
    static inline std::string setupError_;
};

}  // namespace kv::x11test
