#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "shell/file_layer.h"
#include "shell/whole_file.h"

using namespace std::string_literals;

namespace {

// The platform's own file layer with every step written down, and one step that can be made
// to fail as a full disk or a broken device would.
class RecordingFiles final : public files::FileLayer {
 public:
  std::vector<std::string> steps;
  std::string failing;  // the step that fails, by name

  std::optional<files::Handle> create(const std::string& name) override {
    record("create " + name);
    if (failing == "create") return std::nullopt;
    const std::optional<files::Handle> file = real_.create(name);
    if (file) names_[*file] = name;
    return file;
  }
  bool write(files::Handle file, const std::string& bytes) override {
    record("write " + names_[file]);
    if (failing == "write") {
      // A write that fails midway leaves half of the bytes behind.
      real_.write(file, bytes.substr(0, bytes.size() / 2));
      return false;
    }
    return real_.write(file, bytes);
  }
  bool flush(files::Handle file) override {
    record("flush " + names_[file]);
    return failing != "flush" && real_.flush(file);
  }
  bool close(files::Handle file) override {
    record("close " + names_[file]);
    return real_.close(file) && failing != "close";
  }
  bool replace(const std::string& from, const std::string& to) override {
    record("replace " + from + " " + to);
    return failing != "replace" && real_.replace(from, to);
  }
  bool flushFolderOf(const std::string& name) override {
    record("flush folder of " + name);
    return failing != "flush folder" && real_.flushFolderOf(name);
  }
  bool remove(const std::string& name) override {
    record("remove " + name);
    return real_.remove(name);
  }

 private:
  void record(const std::string& step) { steps.push_back(step); }

  files::FileLayer& real_ = files::platformFiles();
  std::map<files::Handle, std::string> names_;
};

class WholeFile : public ::testing::Test {
 protected:
  ScratchFolder folder;
  RecordingFiles layer;
};

const std::vector<std::string> kDurableSteps = {
    "remove table.dat.new", "create table.dat.new",   "write table.dat.new",
    "flush table.dat.new",  "close table.dat.new",    "replace table.dat.new table.dat",
    "flush folder of table.dat",
};

// The bytes are on the disk before the new name points at them, and the folder's new entry
// is on the disk before the save counts as done.
TEST_F(WholeFile, ReplaceFlushesTheFileThenRenamesItThenFlushesTheFolder) {
  ScratchFolder::writeFile("table.dat", "old table");
  ASSERT_TRUE(replaceWholeFile(layer, "table.dat", "new table"));
  EXPECT_EQ(layer.steps, kDurableSteps);
  EXPECT_EQ(ScratchFolder::readFile("table.dat"), "new table");
  EXPECT_FALSE(ScratchFolder::exists("table.dat.new"));
}

TEST_F(WholeFile, ReplaceCreatesAMissingFile) {
  ASSERT_TRUE(replaceWholeFile(layer, "table.dat", "first"));
  EXPECT_EQ(layer.steps, kDurableSteps);
  EXPECT_EQ(ScratchFolder::readFile("table.dat"), "first");
}

struct FailureCase {
  const char* failing;
  std::vector<std::string> steps;
};

class WholeFileFailure : public WholeFile, public ::testing::WithParamInterface<FailureCase> {};

// A step that fails leaves the old file as it was, no temporary file, and no rename of a
// file whose bytes may not be whole.
TEST_P(WholeFileFailure, LeavesTheOldFileAndNoTemporaryFile) {
  ScratchFolder::writeFile("table.dat", "old table");
  layer.failing = GetParam().failing;
  EXPECT_FALSE(replaceWholeFile(layer, "table.dat", "new table"));
  EXPECT_EQ(layer.steps, GetParam().steps);
  EXPECT_EQ(ScratchFolder::readFile("table.dat"), "old table");
  EXPECT_FALSE(ScratchFolder::exists("table.dat.new"));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WholeFileFailure,
    ::testing::Values(
        FailureCase{"create", {"remove table.dat.new", "create table.dat.new"}},
        FailureCase{"write",
                    {"remove table.dat.new", "create table.dat.new", "write table.dat.new",
                     "close table.dat.new", "remove table.dat.new"}},
        FailureCase{"flush",
                    {"remove table.dat.new", "create table.dat.new", "write table.dat.new",
                     "flush table.dat.new", "close table.dat.new", "remove table.dat.new"}},
        FailureCase{"close",
                    {"remove table.dat.new", "create table.dat.new", "write table.dat.new",
                     "flush table.dat.new", "close table.dat.new", "remove table.dat.new"}},
        FailureCase{"replace",
                    {"remove table.dat.new", "create table.dat.new", "write table.dat.new",
                     "flush table.dat.new", "close table.dat.new",
                     "replace table.dat.new table.dat", "remove table.dat.new"}}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.failing); });

// Some file systems cannot flush a folder; the new content is in place all the same.
TEST_F(WholeFile, AFolderThatCannotBeFlushedDoesNotFailTheSave) {
  layer.failing = "flush folder";
  EXPECT_TRUE(replaceWholeFile(layer, "table.dat", "new table"));
  EXPECT_EQ(ScratchFolder::readFile("table.dat"), "new table");
}

// A save killed between its write and its rename leaves its temporary file behind; the next
// save does not leave it there, whether it succeeds or not.
TEST_F(WholeFile, TheNextSaveRemovesATemporaryFileLeftByAKilledOne) {
  ScratchFolder::writeFile("table.dat.new", "half a tab");
  ASSERT_TRUE(replaceWholeFile("table.dat", "whole table"));
  EXPECT_EQ(ScratchFolder::readFile("table.dat"), "whole table");
  EXPECT_FALSE(ScratchFolder::exists("table.dat.new"));

  ScratchFolder::writeFile("folder.dat.new", "half a tab");
  std::filesystem::create_directory("folder.dat");
  EXPECT_FALSE(replaceWholeFile("folder.dat", "whole table"));
  EXPECT_FALSE(ScratchFolder::exists("folder.dat.new"));
  EXPECT_TRUE(std::filesystem::is_directory("folder.dat"));
}

// The platform's own layer, without the recorder: a file in another folder is replaced there.
TEST_F(WholeFile, ReplacesAFileInASubfolder) {
  std::filesystem::create_directory("Saves");
  ScratchFolder::writeFile("Saves/table.dat", "old");
  ASSERT_TRUE(replaceWholeFile("Saves/table.dat", std::string(100000, 'x')));
  EXPECT_EQ(ScratchFolder::readFile("Saves/table.dat"), std::string(100000, 'x'));
  EXPECT_FALSE(ScratchFolder::exists("Saves/table.dat.new"));
}

}  // namespace
