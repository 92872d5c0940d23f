#pragma once
// One QApplication for a whole GUI test program, on the offscreen platform,
// made before the first test and gone before main() returns (a static one
// would outlive the Qt globals it needs when it is destroyed).

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace qln::test {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[10] = "qln_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

}  // namespace qln::test
