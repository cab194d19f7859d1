#include "demo/DemoNames.h"

#include <string_view>

#include "demo/RecordBuffer.h"
#include "store/Encoding.h"

namespace furlong::demo {

namespace {

using Words = std::vector<std::string>;

std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// The first n characters of a UTF-8 text.
std::string FirstChars(std::string_view utf8, std::size_t n) {
  std::size_t i = 0, count = 0;
  while (i < utf8.size()) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (count == n) break;
      ++count;
    }
    ++i;
  }
  return std::string(utf8.substr(0, i));
}

const Words kPrefixes = {
    "アオバ", "アカツキ", "アマノ", "ウミノ", "オオゾラ", "カゼノ", "キラ", "クモイ", "コハク", "サザナミ",
    "シラユキ", "ソラノ", "ツキノ", "トワ", "ナツメ", "ハナノ", "ヒカリ", "ホシノ", "ミズホ", "ミライ",
    "ユメノ", "ヨゾラ", "ルリ", "ワカバ", "グラン", "ノーブル", "ロイヤル", "ブライト", "シャイン", "スカイ",
    "ブルー", "レッド", "シルバー", "ゴールド", "ミスティ", "ラッキー", "ハッピー", "ビッグ", "リトル", "ジャスト",
};

const Words kWords = {
    "ステラ", "アルテミス", "フェアリー", "ブリーズ", "ドリーム", "ファントム", "ハリケーン", "サンダー",
    "アロー", "ボルト", "レガシー", "ミラージュ", "オーロラ", "カノン", "リズム", "メロディ", "ソナタ",
    "ワルツ", "ラプソディ", "ヴィーナス", "ダイヤ", "ルビー", "サファイア", "パール", "クレスト", "ブレイブ",
    "スピリット", "ウィング", "フェザー", "ファルコン", "イーグル", "ホーク", "タイガー", "レオン", "ハヤテ",
    "イカズチ", "ホムラ", "シグレ", "カグラ", "サクヤ", "ミヤビ", "ヒビキ", "カスミ", "ツバサ", "ハヤブサ",
    "アラシ", "カザハナ", "ユキカゼ", "ウララ", "タマユラ", "コスモス", "アスター", "ガーネット", "トパーズ",
    "オパール", "ジェイド", "セレナーデ", "ノクターン", "フーガ", "ボレロ", "タンゴ", "サンバ", "ポラリス",
    "シリウス", "ベガ", "アルタイル", "リゲル", "スピカ", "カペラ", "オリオン", "ペガサス", "フェニックス",
    "グリフォン", "ティアラ", "クラウン", "エンブレム", "ハーモニー", "パレード", "カーニバル", "フェスタ",
    "ロマンス", "ラビリンス", "コメット", "メテオ", "ギャラクシー", "ネビュラ", "ルミナス", "グローリー",
    "チャンプ", "キャプテン", "ジェネラル", "マーシャル", "バロン", "デューク", "プリンス", "マドンナ",
    "エンジェル", "セイント", "ミスト", "レイン", "スノー", "サニー", "ウインド", "ストーム", "フレイム",
    "ブレイズ", "スパーク", "フラッシュ", "ビート", "ステップ", "ダンス", "ダッシュ", "ラッシュ", "ロケット",
    "ジェット", "マーチ", "パルス", "ウェーブ", "タイド", "リーフ", "フォレスト", "メドウ", "リバー", "レイク",
    "オーシャン", "ハーバー", "アイランド", "キャロル", "ソレイユ", "リュミエール", "エトワール", "ルナ",
};

// Words that suit fillies better; mixed into their names.
const Words kFillyWords = {"プリンセス", "レディ", "クイーン", "ミス", "ベル", "ローズ", "リリー", "マリー", "ティンク", "ドレス"};

const Words kSurnames = {
    "早瀬", "真壁", "桐生", "榊原", "滝本", "朝倉", "葛城", "瀬尾", "芹沢", "柚木", "東雲", "久我",
    "宗像", "八雲", "風間", "氷室", "神崎", "白石", "青柳", "赤城", "緑川", "水城", "土門", "金森",
    "日向", "月岡", "雪村", "花村", "鳥羽", "鷹野", "鶴見", "龍崎", "松浦", "竹内", "梅田", "桜井",
    "藤堂", "杉山", "楓", "柏木", "椿", "榎本", "楠田", "樫村", "槙", "檜山", "梓", "蓮見", "萩原",
    "葵", "紫藤", "沖田", "園部", "塩見", "堀内", "岸辺", "峰岸", "野々宮", "宇佐美", "長谷部",
};
const Words kGivenNames = {
    "光", "翔", "大輝", "蓮", "悠真", "颯", "陽太", "健", "誠", "隼人", "拓海", "翼", "航", "蒼",
    "陸", "湊", "慎吾", "圭", "豪", "純", "正和", "昭雄", "和也", "英二", "康介", "雅人", "宏", "茂",
};

const Words kOwnerWords = {"アオバ", "ホクト", "ミナト", "サンライズ", "ヒダカ", "シンセイ", "アサヒ", "ムサシ", "ハクウン", "セイラン",
                           "コウヨウ", "テンクウ", "ライジン", "ミツボシ", "ユウキ", "カイセイ"};
const Words kOwnerKinds = {"レーシング", "ホースクラブ", "サラブレッドクラブ", "ファーム", "ホールディングス"};
const Words kColours = {"青", "赤", "黄", "緑", "紫", "桃", "水色", "白", "黒", "茶", "薄紫", "海老"};
const Words kPatterns = {"一本輪", "二本輪", "縦縞", "山形一本輪", "元禄", "襷", "星散らし", "菱山形", "縦縞", "鋸歯形"};

const Words kFarmWords = {"朝霧", "白樺", "高台", "湖畔", "春風", "新和", "大空", "青葉", "北斗", "若駒",
                          "明星", "渓谷", "碧水", "緑野", "丘陵", "天馬", "牧原", "清流", "夕凪", "銀嶺"};
const Words kFarmKinds = {"牧場", "ファーム", "スタッド", "牧場", "牧場"};
const Words kAreas = {"浦河町", "新冠町", "日高町", "新ひだか町", "安平町", "様似町", "むかわ町", "千歳市", "平取町", "えりも町"};

const Words kSireNames = {
    "ヴァルハラゲート", "サンダーエンペラー", "グランアルカディア", "シャドウキャッスル", "ストームキャリバー",
    "ノーブルクラウン", "ミラクルオーシャン", "ブライトホライズン", "ゴールドセイバー", "スカイハイランド",
    "キングスレガシー", "ルミナスロード", "アイアンフォート", "スターライトラン", "ファイアブレイク", "ロイヤルパレード",
};
const Words kDamSireNames = {
    "オールドメジャー", "ノーザンエース", "サザンクロス", "ワイルドウインド", "ミスターリバティ", "グレートサミット",
    "ブルーリボン", "ダンシングキング", "シーザーズパレス", "ハイランドソング", "タイムキーパー", "マウントオリンパス",
};
const Words kFounders = {"ロードオブザウインド", "ノーザンスター", "プリンスリーギフト", "ゼニスオブタイム", "ハイペリオンズサン"};
const Words kOldSires = {
    "ファーストライト", "グランドマスター", "ナイトウォッチ", "サウザンドスター", "キャッスルロック",
    "ヘブンリーボイス", "エンパイアメーカー", "シルバーシャーク",
};

const Words kStems[4] = {
    {"冬桜", "寒椿", "師走", "初日", "睦月", "如月", "雪見", "白梅", "早梅", "春待", "銀嶺", "冬晴"},
    {"早春", "春光", "若草", "春雷", "花見", "新緑", "青葉", "薫風", "若葉", "卯月", "菜の花", "藤花"},
    {"紫陽花", "夏至", "水無月", "白波", "夏雲", "涼風", "夏空", "潮騒", "海風", "花火", "向日葵", "天の川"},
    {"長月", "秋桜", "稲穂", "紅葉", "錦秋", "天高", "月見", "銀杏", "晩秋", "初霜", "木枯", "立冬"},
};

std::string S(const std::string& utf8) { return Utf8ToSjis(utf8); }

std::string PersonShortName(const std::string& surname, const std::string& given) {
  std::size_t n = CharCount(surname);
  if (n >= 3) return FirstChars(surname, 4);
  if (n == 2) return surname + FirstChars(given, 1);
  return surname + FirstChars(given, 2);
}

// Abbreviated forms of a race-name suffix, as the short names write them.
std::string ShortSuffix(const std::string& suffix) {
  if (suffix == "ステークス") return "Ｓ";
  if (suffix == "カップ") return "Ｃ";
  if (suffix == "トロフィー") return "Ｔ";
  return suffix;
}

// People's names: each new person's short name, as the records hold it,
// differs from every one given before.
class PeopleNames {
 public:
  explicit PeopleNames(Rng& rng) : rng_(rng) {}

  // A new person: the full name into `fullName`, the short name returned.
  std::string Next(std::string& fullName) {
    for (;;) {
      std::string surname = rng_.Pick(kSurnames), given = rng_.Pick(kGivenNames);
      std::string shortName = PersonShortName(surname, given);
      if (used_.insert(shortName).second) {
        fullName = surname + given;
        return shortName;
      }
    }
  }

 private:
  Rng& rng_;
  std::set<std::string> used_;
};

// Jockeys: alternately of Miho and Ritto, the last eight apprentices, then
// two short-term licence holders from abroad.
std::vector<Jockey> MakeJockeys(Rng& rng, PeopleNames& people) {
  std::vector<Jockey> jockeys;
  std::string full;
  for (int i = 0; i < kRegularJockeys; ++i) {
    Jockey j;
    j.shortName = S(people.Next(full));
    j.code = 1001 + i * 3 + rng.Int(0, 2);
    j.east = i % 2 == 0;
    if (i >= kRegularJockeys - 8) j.apprentice = 1 + (i % 3);
    jockeys.push_back(j);
  }
  for (const char* foreign : {"Ｔ．ブロ", "Ａ．ルカ"}) {
    Jockey j;
    j.shortName = S(foreign);
    j.code = 5100 + static_cast<int>(jockeys.size());
    j.east = jockeys.size() % 2 == 0;
    jockeys.push_back(j);
  }
  return jockeys;
}

// Trainers, alternately of Miho and Ritto.
std::vector<Trainer> MakeTrainers(Rng& rng, PeopleNames& people) {
  std::vector<Trainer> trainers;
  std::string full;
  for (int i = 0; i < 40; ++i) {
    Trainer t;
    t.shortName = S(people.Next(full));
    t.code = 1010 + i * 7 + rng.Int(0, 5);
    t.east = i % 2 == 0;
    trainers.push_back(t);
  }
  return trainers;
}

// Owners, every third a person, the others companies; with their colours.
std::vector<Owner> MakeOwners(Rng& rng, PeopleNames& people) {
  std::vector<Owner> owners;
  for (int i = 0; i < 48; ++i) {
    Owner o;
    std::string name;
    if (i % 3 == 2) {
      people.Next(name);
    } else {
      name = kOwnerWords[static_cast<std::size_t>(i) % kOwnerWords.size()] + rng.Pick(kOwnerKinds);
    }
    o.name = S(name);
    std::string c1 = rng.Pick(kColours), c2 = rng.Pick(kColours), c3 = rng.Pick(kColours);
    if (c2 == c1) c2 = c1 == "白" ? "黒" : "白";
    o.colours = S(c1 + "，" + c2 + rng.Pick(kPatterns) + "，" + c3 + "袖");
    o.code = 100000 + i * 211 + rng.Int(0, 200);
    owners.push_back(o);
  }
  return owners;
}

// Breeders: farms, every fourth named after its family.
std::vector<Breeder> MakeBreeders(Rng& rng) {
  std::vector<Breeder> breeders;
  for (int i = 0; i < 30; ++i) {
    Breeder b;
    std::string name = i % 4 == 3 ? rng.Pick(kSurnames) + "牧場"
                                   : kFarmWords[static_cast<std::size_t>(i) % kFarmWords.size()] + rng.Pick(kFarmKinds);
    b.name = S(name);
    b.area = S(rng.Pick(kAreas));
    b.code = 300000 + i * 1731 + rng.Int(0, 999);
    breeders.push_back(b);
  }
  return breeders;
}

// The sires and broodmare sires. The old sires appear in the second and
// third generations; each keeps its own parents wherever it appears.
void AddStallions(NameBook& book, Rng& rng) {
  struct OldSire {
    Ancestor self, sire, dam;
  };
  std::vector<OldSire> oldSires;
  std::vector<Ancestor> founders;
  for (auto& f : kFounders) founders.push_back({book.NewRegNo(true), S(f)});
  for (std::size_t i = 0; i < kOldSires.size(); ++i) {
    OldSire o;
    o.self = {book.NewRegNo(true), S(kOldSires[i])};
    o.sire = founders[i % founders.size()];
    o.dam = book.NewMare(rng);
    oldSires.push_back(o);
  }
  auto stallion = [&](const std::string& nameUtf8) {
    Stallion s;
    int a = rng.Int(0, static_cast<int>(oldSires.size()) - 1);
    int b = (a + rng.Int(1, static_cast<int>(oldSires.size()) - 1)) % static_cast<int>(oldSires.size());
    s.self = {book.NewRegNo(true), S(nameUtf8)};
    s.sire = oldSires[static_cast<std::size_t>(a)].self;
    s.sireSire = oldSires[static_cast<std::size_t>(a)].sire;
    s.sireDam = oldSires[static_cast<std::size_t>(a)].dam;
    s.dam = book.NewMare(rng);
    s.damSire = oldSires[static_cast<std::size_t>(b)].self;
    s.damDam = book.NewMare(rng);
    return s;
  };
  for (auto& n : kSireNames) book.sires.push_back(stallion(n));
  for (auto& n : kDamSireNames) book.damSires.push_back(stallion(n));
}

}  // namespace

NameBook::NameBook(Rng& rng) {
  PeopleNames people(rng);
  jockeys = MakeJockeys(rng, people);
  trainers = MakeTrainers(rng, people);
  owners = MakeOwners(rng, people);
  breeders = MakeBreeders(rng);
  AddStallions(*this, rng);
}

std::string NameBook::NewHorseName(Rng& rng, bool filly) {
  for (int attempt = 0;; ++attempt) {
    std::string name;
    int kind = rng.Int(0, 9);
    if (kind < 4) {
      name = rng.Pick(kPrefixes) + rng.Pick(kWords);
    } else if (kind < 8) {
      std::string a = rng.Pick(kWords), b = rng.Pick(kWords);
      if (a == b) continue;
      name = a + b;
    } else if (filly) {
      name = rng.Pick(kPrefixes) + rng.Pick(kFillyWords);
    } else {
      name = rng.Pick(kWords);
    }
    if (filly && kind == 3) name = rng.Pick(kFillyWords) + rng.Pick(kWords);
    // A season's horses outnumber the two-part names: three parts then.
    if (attempt >= 20) name = rng.Pick(kPrefixes) + rng.Pick(kWords) + rng.Pick(kWords);
    std::size_t n = CharCount(name);
    if (n < 2 || n > 9) continue;
    std::string sjis = S(name);
    if (usedHorseNames_.insert(sjis).second) return sjis;
    if (attempt > 2000) {
      // The pools are large; this only guards against an endless loop.
      sjis = S(FirstChars(name, 7)) + S(std::string("ー")) + ZeroPadded(attempt % 10, 1);
      if (usedHorseNames_.insert(sjis).second) return sjis;
    }
  }
}

RaceName NameBook::MakeRaceName(const std::string& stem, const std::string& suffix) {
  RaceName r;
  r.full = S(stem + suffix);
  std::string shortForm = stem + ShortSuffix(suffix);
  r.short10 = S(FirstChars(shortForm, 10));
  r.short6 = S(FirstChars(shortForm, 6));
  r.short3 = S(FirstChars(stem, 3));
  return r;
}

RaceName NameBook::SpecialRaceName(Rng& rng, int month, const std::string& suffix) {
  int season = month == 12 || month <= 2 ? 0 : month <= 5 ? 1 : month <= 8 ? 2 : 3;
  return MakeRaceName(rng.Pick(kStems[season]), suffix);
}

std::string NameBook::NewRegNo(bool male) {
  int serial = male ? ++stallionSerial_ : ++mareSerial_;
  return std::string(male ? "1120" : "1220") + ZeroPadded(serial * 37 + 1000, 6);
}

Ancestor NameBook::NewMare(Rng& rng) {
  std::string name;
  for (;;) {
    name = rng.Pick(kWords) + rng.Pick(kFillyWords);
    if (CharCount(name) <= 9) break;
  }
  return {NewRegNo(false), S(name)};
}

}  // namespace furlong::demo
