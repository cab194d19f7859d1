// The Japanese explanations of JV-Link result codes.
#include "jvlink/JVResultMessage.h"

#include <span>
#include <string>
#include <string_view>

#include "store/Encoding.h"

namespace furlong {
namespace {

struct CodeText {
  int code;
  std::string_view text;  // UTF-8
};

// Texts shared by several operations, spelled exactly as JV-Link documents
// them (including their irregular spacing and full-width characters).
constexpr std::string_view kNormal = "正常に実行されました。";

// Download and file operations.
constexpr std::string_view kMaintenance = "サーバーがメンテナンス中です。";
constexpr std::string_view kServerInternal = "サーバーエラー（サーバーアプリケーション内部エラー）が発生しました。";
constexpr std::string_view kServerResponse = "サーバーエラー（サーバーの応答が不正）が発生しました。";
constexpr std::string_view kHttpOther = "サーバーエラー（HTTP ステータス200,403,404 以外）が発生しました。";
constexpr std::string_view kHttp403 = "サーバーエラー（HTTP ステータス403 Forbidden ）が発生しました。";
constexpr std::string_view kHttp404 = "サーバーエラー（HTTP ステータス404 NotFount ）が発生しました。";
constexpr std::string_view kLinkInternal = "JV-Link 内部エラーが発生しました。";
constexpr std::string_view kLinkInternalSpaced = "JV- Link 内部エラーが発生しました。";
constexpr std::string_view kNoServiceKey = "サービスキーが設定されていません。（サービスキーが空値）";
constexpr std::string_view kKeyExpired = "サービスキーの有効期限切れです。";
constexpr std::string_view kAuthFailed = "認証エラーが発生しました。";
constexpr std::string_view kBadRegistry = "レジストリ内容が不正（レジストリ内容が不正に変更された）です。";
constexpr std::string_view kNotClosed =
    "前回のJVOpen/JVRTOpen/JVMVOpen に対してJVClose が呼ばれていません。（オープン中）";
constexpr std::string_view kNoInit = "JVInit が行なわれていません。";
constexpr std::string_view kNoInitTight = "JVInitが行なわれていません。";
constexpr std::string_view kNoOpenTight = "JVOpenが行なわれていません。";
constexpr std::string_view kBadKey = "key パラメータが不正です。";
constexpr std::string_view kNoData = "該当データがありません。";

// Reading.
constexpr std::string_view kEof = "全ファイルの読み込みが終了しました。（ＥＯＦ ）";
constexpr std::string_view kFileNotFound = "ファイルが見つかりません。";
constexpr std::string_view kDownloadFailed = "ダウンロードに失敗しました。(通信エラーやディスクエラー)";
constexpr std::string_view kBadFileContent = "ダウンロードしたファイル内容が異常です。";
constexpr std::string_view kBadFileSize = "ダウンロードしたファイルサイズが異常です。";
constexpr std::string_view kBufferSize = "バッファにセットしたデータのサイズ";

// Movie and course-file operations.
constexpr std::string_view kMvMaintenance = "サーバーメンテナンス中です。";
constexpr std::string_view kMvServerInternal = "サーバーエラー(サーバーアプリケーション内部エラー)が発生しました。";
constexpr std::string_view kMvServerResponse = "サーバーエラー(サーバーの応答が不正)が発生しました。";
constexpr std::string_view kMvHttpOther = "サーバーエラー(HTTPステータス200,403,404以外)が発生しました。";
constexpr std::string_view kMvHttp403 = "サーバーエラー(HTTPステータス403Forbidden)が発生しました。";
constexpr std::string_view kMvHttp404 = "サーバーエラー(HTTPステータス404NotFound)が発生しました。";
constexpr std::string_view kMvLinkInternal = "JV-Link内部エラーが発生しました。";
constexpr std::string_view kMvViewerAuth = "JRAレーシングビュアー連携機能認証エラーが発生しました。";
constexpr std::string_view kMvNoServiceKey = "サービスキーが設定されていません。";
constexpr std::string_view kMvKeyExpired = "サービスキーの期限切れです。";
constexpr std::string_view kMvBadRegistry = "レジストリ内容が不正です。";
constexpr std::string_view kMvNoInit = "JVInitが行われていません。";
constexpr std::string_view kMvBadKey = "keyパラメータが不正です。";
constexpr std::string_view kMvBadMovieType = "movietypeパラメータが不正です。";
constexpr std::string_view kMvBadParameter = "パラメータが不正またはレジストリへの保存に失敗しました。";

constexpr CodeText kInit[] = {
    {-103, "sid が不正（sid の１桁目がスペース）です。"},
    {-102, "sid が64byte 以上あります。"},
    {-101, "sid が設定されていません。"},
    {0, kNormal},
};

constexpr CodeText kSetUIProperties[] = {
    {-100, "パラメータが不正あるいはレジストリへの保存に失敗しました。"},
    {0, kNormal},
};

constexpr CodeText kSet[] = {
    {-101, "すでにサービスキーが登録されています。"},
    {-100, "パラメータが不正あるいはレジストリへの保存に失敗しました。"},
    {0, kNormal},
};

constexpr CodeText kOpen[] = {
    {0, kNormal},
    {-504, kMaintenance},
    {-501, "セットアップ処理においてＣＤ －ＲＯＭ が無効です。"},
    {-431, kServerInternal},
    {-421, kServerResponse},
    {-413, kHttpOther},
    {-412, kHttp403},
    {-411, kHttp404},
    {-401, kLinkInternal},
    {-305, "JV-Link 利用規約への同意が必要です。"},
    {-303, kNoServiceKey},
    {-302, kKeyExpired},
    {-301, kAuthFailed},
    {-211, kBadRegistry},
    {-202, kNotClosed},
    {-201, kNoInit},
    {-116, "dataspec とoption の組み合わせが不正です。"},
    {-115, "option パラメータが不正です。"},
    {-114, kBadKey},
    {-112, "fromdate パラメータが不正です。"},
    {-111, "dataspec パラメータが不正です。"},
    {-2, "セットアップダイアログでキャンセルが押されました。"},
    {-1, " 取得済みデータより最新のデータがありません。"},
};

constexpr CodeText kStatus[] = {
    {-502, "ダウンロードに失敗しました。（通信エラーやディスクエラーなど）"},
    {-203, kNoOpenTight},
    {-201, kNoInitTight},
    {0, kNormal},
};

constexpr CodeText kRead[] = {
    {0, kEof},
    {-503, kFileNotFound},
    {-502, kDownloadFailed},
    {-403, kBadFileContent},
    {-402, kBadFileSize},
    {-203, kNoOpenTight},
    {-202, kNotClosed},
    {-201, kNoInitTight},
    {-3, "ファイルダウンロード中"},
    {-1, "ファイルが切り替わりました。"},
};

constexpr CodeText kFileDelete[] = {
    {-503, kFileNotFound},
    {-201, kNoInitTight},
    {0, kNormal},
};

constexpr CodeText kFukuFile[] = {
    {0, kNormal},
    {-504, kMaintenance},
    {-431, kServerInternal},
    {-421, kServerResponse},
    {-413, kHttpOther},
    {-412, kHttp403},
    {-411, kHttp404},
    {-401, kLinkInternalSpaced},
    {-303, kNoServiceKey},
    {-302, kKeyExpired},
    {-301, kAuthFailed},
    {-211, kBadRegistry},
    {-201, kNoInit},
    {-118, "filepath パラメータが不正です。"},
    {-1, kNoData},
};

constexpr CodeText kFuku[] = {
    {0, kNormal},
    {-504, kMaintenance},
    {-431, kServerInternal},
    {-421, kServerResponse},
    {-413, kHttpOther},
    {-412, kHttp403},
    {-411, kHttp404},
    {-401, kLinkInternalSpaced},
    {-303, kNoServiceKey},
    {-302, kKeyExpired},
    {-301, kAuthFailed},
    {-211, kBadRegistry},
    {-201, kNoInit},
    {-1, kNoData},
};

constexpr CodeText kMovieCheck[] = {
    {0, "正常(公開動画なし)に実行されました。"},
    {1, "正常(公開動画あり)に実行されました。"},
    {-504, kMaintenance},
    {-431, kServerInternal},
    {-421, kServerResponse},
    {-413, kHttpOther},
    {-412, kHttp403},
    {-411, kHttp404},
    {-401, kLinkInternalSpaced},
    {-303, kNoServiceKey},
    {-302, kKeyExpired},
    {-301, kAuthFailed},
    {-211, kBadRegistry},
    {-202, kNotClosed},
    {-201, kNoInit},
    {-114, kBadKey},
    {-1, kNoData},
};

constexpr CodeText kMoviePlay[] = {
    {0, kNormal},
    {-504, kMvMaintenance},
    {-431, kMvServerInternal},
    {-421, kMvServerResponse},
    {-413, kMvHttpOther},
    {-412, kMvHttp403},
    {-411, kMvHttp404},
    {-401, kMvLinkInternal},
    {-304, kMvViewerAuth},
    {-303, kMvNoServiceKey},
    {-302, kMvKeyExpired},
    {-301, kAuthFailed},
    {-211, kMvBadRegistry},
    {-202, kNotClosed},
    {-201, kMvNoInit},
    {-114, kMvBadKey},
    {-111, kMvBadMovieType},
    {-100, kMvBadParameter},
    {-1, kNoData},
};

constexpr CodeText kMovieOpen[] = {
    {0, kNormal},
    {-504, kMvMaintenance},
    {-431, kMvServerInternal},
    {-421, kMvServerResponse},
    {-413, kMvHttpOther},
    {-412, kMvHttp403},
    {-411, kMvHttp404},
    {-401, kMvLinkInternal},
    {-304, kMvViewerAuth},
    {-303, kMvNoServiceKey},
    {-302, kMvKeyExpired},
    {-301, kAuthFailed},
    {-211, kMvBadRegistry},
    {-202, kNotClosed},
    {-201, kMvNoInit},
    {-114, "searchkeyパラメータが不正です。"},
    {-111, kMvBadMovieType},
    {-1, kNoData},
};

constexpr CodeText kMovieRead[] = {
    {0, kEof},
    {-503, "一時ファイルが見つかりません。"},
    {-502, kDownloadFailed},
    {-403, kBadFileContent},
    {-402, kBadFileSize},
    {-203, "JVMVOpenが行なわれていません。"},
    {-201, kNoInitTight},
    {-3, "データダウンロード中"},
};

constexpr CodeText kCourseFile[] = {
    {0, kNormal},
    {-504, kMvMaintenance},
    {-431, kMvServerInternal},
    {-421, kMvServerResponse},
    {-413, kMvHttpOther},
    {-412, kMvHttp403},
    {-411, kMvHttp404},
    {-401, kMvLinkInternal},
    {-303, kMvNoServiceKey},
    {-302, kMvKeyExpired},
    {-301, kAuthFailed},
    {-211, kMvBadRegistry},
    {-202, kNotClosed},
    {-201, kMvNoInit},
    {-114, kMvBadKey},
    {-1, kNoData},
    {-502, kDownloadFailed},
};

constexpr CodeText kCourseFile2[] = {
    {0, kNormal},
    {-504, kMvMaintenance},
    {-431, kMvServerInternal},
    {-421, kMvServerResponse},
    {-413, kMvHttpOther},
    {-412, kMvHttp403},
    {-411, kMvHttp404},
    {-401, kMvLinkInternal},
    {-303, kMvNoServiceKey},
    {-302, kMvKeyExpired},
    {-301, kAuthFailed},
    {-211, kMvBadRegistry},
    {-202, kNotClosed},
    {-201, kMvNoInit},
    {-114, kMvBadKey},
    {-1, kNoData},
    {-502, kDownloadFailed},
    {-118, "filepathパラメータが不正です。"},
};

constexpr CodeText kClose[] = {
    {0, kNormal},
};

// One block of the message table. A block whose operation matches sets the
// explanation from its texts (empty for a code it does not list); a later
// matching block replaces what an earlier one set.
struct Block {
  std::string_view operation;
  std::string_view alsoOperation;  // a second name served by the block, or empty
  bool prefixMatch;                // operation is a prefix that every name starting with it matches
  std::span<const CodeText> texts;
  std::string_view countPrefix;    // when set, a code above 0 gives this text + the code

  bool Matches(std::string_view op) const {
    if (prefixMatch) return op.substr(0, operation.size()) == operation;
    return op == operation || (!alsoOperation.empty() && op == alsoOperation);
  }
};

constexpr Block kBlocks[] = {
    {"JVInit", {}, false, kInit, {}},
    {"JVSetUIProperties", {}, false, kSetUIProperties, {}},
    {"JVSet", {}, true, kSet, {}},
    {"JVOpen", "JVRTOpen", false, kOpen, {}},
    {"JVStatus", {}, false, kStatus, "ダウンロード済みファイル数"},
    {"JVRead", "JVGets", false, kRead, kBufferSize},
    {"JVFileDelete", {}, false, kFileDelete, {}},
    {"JVFukuFile", {}, false, kFukuFile, {}},
    {"JVFuku", {}, false, kFuku, {}},
    {"JVMVCheck", {}, false, kMovieCheck, {}},
    {"JVMVPlay", "JVMVPlayWithType", false, kMoviePlay, {}},
    {"JVMVOpen", {}, false, kMovieOpen, {}},
    {"JVMVRead", {}, false, kMovieRead, kBufferSize},
    {"JVCourseFile", {}, false, kCourseFile, {}},
    {"JVCourseFile2", {}, false, kCourseFile2, {}},
    {"JVClose", {}, false, kClose, {}},
};

std::string_view TextFor(std::span<const CodeText> texts, int code) {
  for (const auto& t : texts)
    if (t.code == code) return t.text;
  return {};
}

}  // namespace

std::string JVResultMessage(std::string_view operation, int code) {
  const std::string number = std::to_string(code);
  std::string explanation;
  for (const Block& block : kBlocks) {
    if (!block.Matches(operation)) continue;
    if (!block.countPrefix.empty() && code > 0)
      explanation = std::string(block.countPrefix) + number;
    else
      explanation = TextFor(block.texts, code);
  }
  return Utf8ToSjis(explanation + "(" + number + ")");
}

}  // namespace furlong
