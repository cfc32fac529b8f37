#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../reliability/processes.h"
#include "bytes/bytes.h"

namespace clockvane::clitest {

using CliRun = reliability::ToolRun;

// Runs the built clockvane binary with the arguments and collects what it printed.
inline CliRun runCli(const std::vector<std::string>& arguments)
{
    return reliability::runTool(arguments);
}

// A fresh, empty folder per test, removed afterwards.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes bytes into the folder and returns the path as text.
    std::string writeImage(const std::string& name, ByteView bytes) const;
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // The names in the folder, sorted.
    std::vector<std::string> files() const;

    std::filesystem::path dir_;
};

}  // namespace clockvane::clitest
