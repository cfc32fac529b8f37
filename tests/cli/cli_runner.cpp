#include "cli_runner.h"

#include <unistd.h>

#include <algorithm>

#include "fixtures/image_builder.h"

namespace clockvane::clitest {

void CliTest::SetUp()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    dir_ = std::filesystem::temp_directory_path() /
           ("clockvane-cli-" + std::to_string(getpid()) + "-" + name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
}

void CliTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
}

std::string CliTest::writeImage(const std::string& name, ByteView bytes) const
{
    fixtures::writeFile(dir_ / name, bytes);
    return path(name);
}

std::vector<std::string> CliTest::files() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace clockvane::clitest
