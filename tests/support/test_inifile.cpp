#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/inifile.h"
#include "support/textfiles.h"

TEST(IniFile, ReadsValuesWithProfileRules) {
    const IniFile ini(
        "; comment\r\n"
        "[Main]\r\n"
        "Width = 800 \r\n"
        "height=abc\r\n"
        "hex=0x1F\r\n"
        "dollar=$10\r\n"
        "neg=-12\r\n"
        "quoted=\"C:\\a b\\\"\r\n"
        "flag=2\r\n"
        "off=0\r\n"
        "junkbool=yes\r\n"
        "[files]\r\n"
        "file1=C:\\logs\\a b.vul\r\n");
    EXPECT_EQ(ini.readInt("main", "width", 1024), 800);
    EXPECT_EQ(ini.readInt("main", "height", 768), 768);  // not a number: default
    EXPECT_EQ(ini.readInt("main", "hex", 0), 31);
    EXPECT_EQ(ini.readInt("main", "dollar", 0), 16);
    EXPECT_EQ(ini.readInt("main", "neg", 0), -12);
    EXPECT_EQ(ini.readInt("main", "missing", 7), 7);
    EXPECT_EQ(ini.readString("MAIN", "QUOTED", ""), QStringLiteral("C:\\a b\\"));
    EXPECT_TRUE(ini.readBool("main", "flag", false));
    EXPECT_FALSE(ini.readBool("main", "off", true));
    EXPECT_TRUE(ini.readBool("main", "junkbool", true));
    EXPECT_FALSE(ini.readBool("main", "junkbool", false));
    EXPECT_EQ(ini.readString("files", "file1", ""), QStringLiteral("C:\\logs\\a b.vul"));
    EXPECT_EQ(ini.readString("nosection", "file1", "dflt"), QStringLiteral("dflt"));
}

TEST(IniFile, WritingAKeyLeavesEveryOtherByteAlone) {
    const QByteArray original =
        "[other]\r\n"
        "  odd line without equals\r\n"
        "Key=Value with  spaces \r\n"
        "\r\n"
        "[files]\r\n"
        "File1=C:\\logs\\a b.vul\r\n"
        "\r\n"
        "[main]\r\n"
        "width=1\r\n";
    IniFile ini(original);
    ini.writeString("files", "file1", "C:\\logs\\a b.vul");  // same value, key spelled otherwise
    EXPECT_EQ(ini.toBytes(), original);

    ini.writeInt("main", "width", 1024);
    ini.writeString("files", "file2", "/home/u/x y.vuc");
    ini.writeBool("main", "maximized", false);
    ini.writeString("messages", "dont_show_again", "1");
    EXPECT_EQ(ini.toBytes(), QByteArray("[other]\r\n"
                                        "  odd line without equals\r\n"
                                        "Key=Value with  spaces \r\n"
                                        "\r\n"
                                        "[files]\r\n"
                                        "File1=C:\\logs\\a b.vul\r\n"
                                        "file2=/home/u/x y.vuc\r\n"
                                        "\r\n"
                                        "[main]\r\n"
                                        "width=1024\r\n"
                                        "maximized=0\r\n"
                                        "[messages]\r\n"
                                        "dont_show_again=1\r\n"));
}

TEST(IniFile, NewFileAndFileWithoutFinalLineEnd) {
    IniFile empty;
    empty.writeString("main", "port", "COM1");
    EXPECT_EQ(empty.toBytes(), QByteArray("[main]\nport=COM1\n"));

    IniFile unterminated(QByteArray("[main]\nport=COM3"));
    unterminated.writeString("main", "ScanPorts", "1");
    EXPECT_EQ(unterminated.toBytes(), QByteArray("[main]\nport=COM3\nScanPorts=1\n"));
    EXPECT_EQ(unterminated.readString("main", "port", ""), QStringLiteral("COM3"));
}

TEST(IniFile, WriteIniTextCreatesAndUpdatesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/vu.ini";
    ASSERT_TRUE(WriteIniText(path, "main", "port", "/dev/ttyUSB0"));
    ASSERT_TRUE(WriteIniText(path, "main", "port", "/dev/pts/3"));
    EXPECT_EQ(IniFile::load(path).readString("main", "port", ""), QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(IniFile::load(dir.path() + "/none.ini").readInt("main", "width", 1024), 1024);
}
