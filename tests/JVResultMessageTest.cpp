#include <gtest/gtest.h>

#include <string>

#include "jvlink/JVResultMessage.h"
#include "store/Encoding.h"

using namespace furlong;

namespace {

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

}  // namespace

TEST(JVResultMessage, ExplanationFollowedByTheCodeInBrackets) {
  EXPECT_EQ(JVResultMessage("JVOpen", -504), S("サーバーがメンテナンス中です。(-504)"));
  EXPECT_EQ(JVResultMessage("JVInit", 0), S("正常に実行されました。(0)"));
  EXPECT_EQ(JVResultMessage("JVClose", 0), S("正常に実行されました。(0)"));
}

TEST(JVResultMessage, UnlistedOperationOrCodeGivesOnlyTheNumber) {
  EXPECT_EQ(JVResultMessage("JVWatchEvent", 0), "(0)");
  EXPECT_EQ(JVResultMessage("", -1), "(-1)");
  EXPECT_EQ(JVResultMessage("jvopen", -504), "(-504)");  // names compare exactly
  EXPECT_EQ(JVResultMessage("JVRead", -2), "(-2)");
  EXPECT_EQ(JVResultMessage("JVOpen", 3), "(3)");
  EXPECT_EQ(JVResultMessage("JVInit", -1), "(-1)");
  EXPECT_EQ(JVResultMessage("JVClose", -1), "(-1)");
}

TEST(JVResultMessage, LaterJVSetBlockReplacesSetUIProperties) {
  EXPECT_EQ(JVResultMessage("JVSetUIProperties", -101), S("すでにサービスキーが登録されています。(-101)"));
  EXPECT_EQ(JVResultMessage("JVSetUIProperties", -100),
            S("パラメータが不正あるいはレジストリへの保存に失敗しました。(-100)"));
  EXPECT_EQ(JVResultMessage("JVSetServiceKey", -101), S("すでにサービスキーが登録されています。(-101)"));
  EXPECT_EQ(JVResultMessage("JVSetSaveFlag", 0), S("正常に実行されました。(0)"));
  EXPECT_EQ(JVResultMessage("JVSe", -101), "(-101)");
}

TEST(JVResultMessage, PositiveCountsOfStatusAndRead) {
  EXPECT_EQ(JVResultMessage("JVStatus", 7), S("ダウンロード済みファイル数7(7)"));
  EXPECT_EQ(JVResultMessage("JVStatus", 0), S("正常に実行されました。(0)"));
  EXPECT_EQ(JVResultMessage("JVRead", 1272), S("バッファにセットしたデータのサイズ1272(1272)"));
  EXPECT_EQ(JVResultMessage("JVGets", 555), S("バッファにセットしたデータのサイズ555(555)"));
  EXPECT_EQ(JVResultMessage("JVMVRead", 10), S("バッファにセットしたデータのサイズ10(10)"));
  EXPECT_EQ(JVResultMessage("JVOpen", 7), "(7)");
}

TEST(JVResultMessage, TextsKeepTheirOwnSpacing) {
  EXPECT_EQ(JVResultMessage("JVOpen", -1), S(" 取得済みデータより最新のデータがありません。(-1)"));
  EXPECT_EQ(JVResultMessage("JVRTOpen", -501), S("セットアップ処理においてＣＤ －ＲＯＭ が無効です。(-501)"));
  EXPECT_EQ(JVResultMessage("JVOpen", -401), S("JV-Link 内部エラーが発生しました。(-401)"));
  EXPECT_EQ(JVResultMessage("JVFukuFile", -401), S("JV- Link 内部エラーが発生しました。(-401)"));
  EXPECT_EQ(JVResultMessage("JVMVCheck", -401), S("JV- Link 内部エラーが発生しました。(-401)"));
  EXPECT_EQ(JVResultMessage("JVMVPlay", -401), S("JV-Link内部エラーが発生しました。(-401)"));
  EXPECT_EQ(JVResultMessage("JVRead", 0), S("全ファイルの読み込みが終了しました。（ＥＯＦ ）(0)"));
  EXPECT_EQ(JVResultMessage("JVStatus", -502),
            S("ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)"));
  EXPECT_EQ(JVResultMessage("JVRead", -502), S("ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"));
  EXPECT_EQ(JVResultMessage("JVRead", -201), S("JVInitが行なわれていません。(-201)"));
  EXPECT_EQ(JVResultMessage("JVOpen", -201), S("JVInit が行なわれていません。(-201)"));
  EXPECT_EQ(JVResultMessage("JVMVPlay", -201), S("JVInitが行われていません。(-201)"));
}

TEST(JVResultMessage, BlocksThatDifferByOneCode) {
  EXPECT_EQ(JVResultMessage("JVFukuFile", -118), S("filepath パラメータが不正です。(-118)"));
  EXPECT_EQ(JVResultMessage("JVFuku", -118), "(-118)");
  EXPECT_EQ(JVResultMessage("JVMVPlayWithType", -100),
            S("パラメータが不正またはレジストリへの保存に失敗しました。(-100)"));
  EXPECT_EQ(JVResultMessage("JVMVOpen", -100), "(-100)");
  EXPECT_EQ(JVResultMessage("JVMVOpen", -114), S("searchkeyパラメータが不正です。(-114)"));
  EXPECT_EQ(JVResultMessage("JVMVPlay", -114), S("keyパラメータが不正です。(-114)"));
  EXPECT_EQ(JVResultMessage("JVCourseFile", -304), "(-304)");
  EXPECT_EQ(JVResultMessage("JVCourseFile", -502), S("ダウンロードに失敗しました。(通信エラーやディスクエラー)(-502)"));
  EXPECT_EQ(JVResultMessage("JVCourseFile", -118), "(-118)");
  EXPECT_EQ(JVResultMessage("JVCourseFile2", -118), S("filepathパラメータが不正です。(-118)"));
  EXPECT_EQ(JVResultMessage("JVMVCheck", 1), S("正常(公開動画あり)に実行されました。(1)"));
  EXPECT_EQ(JVResultMessage("JVMVRead", -1), "(-1)");
  EXPECT_EQ(JVResultMessage("JVRead", -1), S("ファイルが切り替わりました。(-1)"));
}

TEST(JVResultMessage, EveryMessageIsValidShiftJis) {
  for (const char* op : {"JVInit", "JVSetUIProperties", "JVOpen", "JVStatus", "JVRead", "JVFileDelete",
                         "JVFukuFile", "JVFuku", "JVMVCheck", "JVMVPlay", "JVMVOpen", "JVMVRead",
                         "JVCourseFile", "JVCourseFile2", "JVClose"})
    for (int code = -600; code <= 2; ++code) {
      std::string msg = JVResultMessage(op, code);
      EXPECT_TRUE(IsValidSjis(msg)) << op << ' ' << code;
      EXPECT_EQ(msg.find('?'), std::string::npos) << op << ' ' << code;  // nothing lost in conversion
    }
}
