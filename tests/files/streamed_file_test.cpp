// Files written piece by piece (GIF recordings): the old file stays whole
// until Commit, and a file dropped unfinished leaves nothing. (Devices,
// missing folders and full disks: tests/zorhost/output_files.sh.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "files/Files.h"

namespace {

namespace fs = std::filesystem;

class StreamedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zor_streamed_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int Entries() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
        return count;
    }

    fs::path folder;
};

TEST_F(StreamedFileTest, ARegularFileIsReplacedOnlyWhenCommitted) {
    struct Row {
        const char* what;
        const char* old;  // nullptr: no file yet
        bool commit;
        const char* after;  // nullptr: no file
    };
    const Row rows[] = {
        {"a new file", nullptr, true, "piece one, piece two"},
        {"an old file replaced", "old", true, "piece one, piece two"},
        {"an old file kept when dropped", "old", false, "old"},
        {"nothing made when dropped", nullptr, false, nullptr},
    };
    for (const Row& row : rows) {
        const std::string path = Path("out.gif");
        fs::remove(path);
        if (row.old) std::ofstream(path) << row.old;
        if (row.old) fs::permissions(path, fs::perms(0640));
        {
            files::StreamedFile file;
            std::string error;
            ASSERT_TRUE(file.Open(path, error)) << row.what << ": " << error;
            EXPECT_TRUE(file.Write("piece one, "));
            EXPECT_TRUE(file.Write("piece two"));
            // Until the end the old file is there as it was.
            EXPECT_EQ(fs::exists(path), row.old != nullptr) << row.what;
            if (row.old) {
                EXPECT_EQ(Contents(path), row.old) << row.what;
            }
            if (row.commit) {
                EXPECT_TRUE(file.Commit(error)) << row.what << ": " << error;
            }
        }
        EXPECT_EQ(fs::exists(path), row.after != nullptr) << row.what;
        if (row.after) {
            EXPECT_EQ(Contents(path), row.after) << row.what;
        }
        if (row.old && row.commit) {
            EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640)) << row.what;
        }
        EXPECT_EQ(Entries(), row.after ? 1 : 0) << row.what << ": a temporary file is left";
    }
}

TEST_F(StreamedFileTest, ASymbolicLinkKeepsPointingWhereItDid) {
    std::ofstream(Path("target.gif")) << "old";
    fs::create_symlink("target.gif", Path("link.gif"));
    files::StreamedFile file;
    std::string error;
    ASSERT_TRUE(file.Open(Path("link.gif"), error));
    file.Write("new");
    ASSERT_TRUE(file.Commit(error)) << error;
    EXPECT_TRUE(fs::is_symlink(Path("link.gif")));
    EXPECT_EQ(Contents(Path("target.gif")), "new");
}

}  // namespace
