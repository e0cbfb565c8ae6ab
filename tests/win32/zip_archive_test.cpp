#include "exchange/win32/zip_archive.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <minizip/zip.h>

namespace tvx::win {
namespace {

TEST(ZipArchive, AFolderPacksAndUnpacksToTheSameFiles) {
    test::ScratchDir source("zipsrc"), target("zipdst"), archives("zips");
    CreateDirectoryA(source.File("Data").c_str(), nullptr);
    const std::string binary("\x00\x01\xFF\xC0 stored clipboard\x00", 21);
    test::WriteWholeFile(source.File("Shortcut2.clg"), "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Work|X");
    test::WriteWholeFile(source.File("Data\\A.stx"), binary);
    const std::string archive = archives.File("export.trn");
    ASSERT_TRUE(PackFolder(source.path(), archive));
    ASSERT_TRUE(UnpackArchive(archive, target.path()));
    EXPECT_EQ(test::ReadWholeFile(target.File("Shortcut2.clg")), "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Work|X");
    EXPECT_EQ(test::ReadWholeFile(target.File("Data\\A.stx")), binary);
    DeleteFileA(target.File("Data\\A.stx").c_str());
    RemoveDirectoryA(target.File("Data").c_str());
    DeleteFileA(source.File("Data\\A.stx").c_str());
    RemoveDirectoryA(source.File("Data").c_str());
}

TEST(ZipArchive, EntriesThatWouldLeaveTheFolderAreRefused) {
    test::ScratchDir archives("zipslip"), target("zipslipdst");
    const std::string archive = archives.File("evil.trn");
    zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info = {};
    for (const char* name : {"../escaped.txt", "ok.txt"}) {
        zipOpenNewFileInZip(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
        zipWriteInFileInZip(zip, "x", 1);
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    EXPECT_FALSE(UnpackArchive(archive, target.path()));
    EXPECT_EQ(GetFileAttributesA((target.path() + "\\..\\escaped.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(test::ReadWholeFile(target.File("ok.txt")), "x");
    EXPECT_FALSE(UnpackArchive(archives.File("missing.trn"), target.path()));
}

}  // namespace
}  // namespace tvx::win
