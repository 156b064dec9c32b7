// tallyscope-loggen: writes a made-up chat log of the Russian-language game client, of a given size,
// for trying out and measuring the analysis. The log is Windows-1251 with CR LF line ends, every line
// starts with a date and time that never go back, and it holds every kind of combat line the analysis
// recognises, damage lines foremost. The same arguments always give the same bytes.
//
// The tool stands alone: it links nothing of the analysis core, so that a fault in the core cannot
// shape the data the core is measured with.

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#ifndef LOGGEN_DEFAULT_RESOURCES
#define LOGGEN_DEFAULT_RESOURCES "."
#endif

namespace {

constexpr int kClassCount = 11;  // player classes 1..11
// The invented names run out a little beyond this many characters.
constexpr int kMaxCharacters = 1000;

// ---------------------------------------------------------------------------------------------------
// Text

// UTF-8 to Windows-1251 for the texts written in this file. ASCII and the Russian alphabet are all
// they use; anything else becomes '?'.
std::string Cp(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        if (b0 < 0x80) {
            out += static_cast<char>(b0);
            ++i;
            continue;
        }
        char32_t c = 0xFFFD;
        if ((b0 & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            c = (char32_t(b0 & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            i += 2;
        } else {
            ++i;
            while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80)
                ++i;
        }
        if (c >= 0x410 && c <= 0x44F)
            out += static_cast<char>(c - 0x410 + 0xC0);
        else if (c == 0x401)
            out += static_cast<char>(0xA8);
        else if (c == 0x451)
            out += static_cast<char>(0xB8);
        else
            out += '?';
    }
    return out;
}

std::vector<std::string> CpAll(std::initializer_list<std::string_view> utf8) {
    std::vector<std::string> out;
    for (auto s : utf8)
        out.push_back(Cp(s));
    return out;
}

// ---------------------------------------------------------------------------------------------------
// Random numbers: xoshiro256** seeded by splitmix64, and range reduction written out here, so that the
// output does not depend on the standard library's distributions, which differ between libraries.

class Random {
  public:
    explicit Random(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t Next() {
        const std::uint64_t result = Rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = Rotl(state_[3], 45);
        return result;
    }

    // Uniform in [0, n); n > 0. The bias of the multiply-shift reduction is far below what matters here.
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
    }
    int Between(int lo, int hi) {
        return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
    }
    bool PerMille(std::uint32_t chance) { return Below(1000) < chance; }
    template <class T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(static_cast<std::uint32_t>(items.size()))];
    }

  private:
    static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<std::uint64_t, 4> state_{};
};

// Picks an index by integer weights.
class WeightedChoice {
  public:
    void Add(std::uint32_t weight) { bounds_.push_back(total_ += weight); }
    std::size_t Pick(Random& random) const {
        const std::uint32_t r = random.Below(total_);
        return static_cast<std::size_t>(std::upper_bound(bounds_.begin(), bounds_.end(), r) -
                                        bounds_.begin());
    }

  private:
    std::vector<std::uint32_t> bounds_;
    std::uint32_t total_ = 0;
};

// ---------------------------------------------------------------------------------------------------
// Reference lists

const std::array<std::string, kClassCount>& ClassNames() {
    static const std::array<std::string, kClassCount> names = {
        Cp("Гладиатор"), Cp("Страж"),    Cp("Убийца"), Cp("Стрелок"), Cp("Заклинатель"), Cp("Волшебник"),
        Cp("Чародей"),   Cp("Целитель"), Cp("Бард"),   Cp("Снайпер"), Cp("Пилот")};
    return names;
}

using SkillsByClass = std::array<std::vector<std::string>, kClassCount>;

// Reads a reference list (Windows-1251): a line holding "[" is a section header, whose name is the
// text between the last "[" and the "]" after it; the entries under a header of a class name belong to
// that class. Entries before any class header and blank entries are of no use here and are skipped.
SkillsByClass ReadReferenceList(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    SkillsByClass result;
    int current = -1;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto open = line.rfind('[');
        if (open != std::string::npos) {
            const auto close = line.find(']', open);
            if (close == std::string::npos)
                continue;
            const std::string name = line.substr(open + 1, close - open - 1);
            const auto& names = ClassNames();
            const auto it = std::find(names.begin(), names.end(), name);
            if (it != names.end())
                current = static_cast<int>(it - names.begin());
            continue;
        }
        if (current >= 0 && !line.empty())
            result[current].push_back(line);
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------
// The cast

const std::vector<std::string> kRankNumerals = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X"};

struct Player {
    std::string name;  // empty for the log owner
    int classIndex = 0;
    std::vector<std::string> attacks;   // as written in the log: with the rank numeral, if any
    std::vector<std::string> supports;  // possibly empty
    std::vector<std::string> dots;
};

struct Cast {
    Player owner;
    std::vector<Player> players;
    WeightedChoice playerActivity;
    std::vector<std::string> summons;
    std::vector<std::string> mobs;
};

// A name of the invented Russian-sounding kind, unused so far.
std::string InventName(Random& random, std::set<std::string>& used, const std::vector<std::string>& stock) {
    for (const auto& name : stock)
        if (used.insert(name).second)
            return name;
    static const std::vector<std::string> starts = CpAll(
        {"Бел", "Вел",  "Гор", "Драг", "Люб", "Мил", "Рад", "Твер", "Яр",  "Добр", "Ост", "Влад", "Бор",
         "Зве", "Крас", "Лад", "Мир",  "Нев", "Ог",  "Пер", "Рус",  "Сне", "Тих",  "Ус",  "Цвет", "Чест"});
    static const std::vector<std::string> ends = CpAll({"омир", "ослав", "ана", "ина", "ослава", "ибор", "ен",
                                                        "ята", "ава", "ей", "он", "ница", "ор", "уша"});
    static const std::vector<std::string> middles = CpAll({"о", "и", "е", "ан", "ир", "ол"});
    for (;;) {
        std::string name = random.Pick(starts);
        if (random.PerMille(300))
            name += random.Pick(middles);
        name += random.Pick(ends);
        if (used.insert(name).second)
            return name;
    }
}

std::string WithRank(Random& random, const std::string& skill) {
    // Most skills are written with their rank; a few without, as the client writes some of them.
    if (random.PerMille(70))
        return skill;
    return skill + " " + kRankNumerals[random.Between(0, 3) + random.Below(7)];
}

std::vector<std::string> Loadout(Random& random, std::vector<std::string> pool, std::size_t count) {
    for (std::size_t i = 0; i + 1 < pool.size(); ++i)
        std::swap(pool[i], pool[i + random.Below(static_cast<std::uint32_t>(pool.size() - i))]);
    pool.resize(std::min(count, pool.size()));
    for (auto& skill : pool)
        skill = WithRank(random, skill);
    return pool;
}

// Heals, shields and songs are cast without damage; the lists do not say which skills those are, so
// they are told by the first word.
bool IsSupportSkill(const std::string& skill) {
    static const std::vector<std::string> stems = CpAll({"Исцел",
                                                         "Благословение",
                                                         "Восстанов",
                                                         "Возрожд",
                                                         "Щит веры",
                                                         "Мантра",
                                                         "Гимн",
                                                         "Молитва",
                                                         "Стойка",
                                                         "Клятва",
                                                         "Провокация",
                                                         "Энергощит",
                                                         "Дар ",
                                                         "Железная воля",
                                                         "Бастион",
                                                         "Марш",
                                                         "Баллада",
                                                         "Несокрушимая",
                                                         "Волна исцеления",
                                                         "Очищение",
                                                         "Напев",
                                                         "Тихая колыбельная",
                                                         "Боевой клич"});
    return std::any_of(stems.begin(), stems.end(),
                       [&](const std::string& stem) { return skill.compare(0, stem.size(), stem) == 0; });
}

// A totem is not cast on the target: it is summoned, and the log names its summoner.
bool IsTotem(const std::string& dot) {
    static const std::string totem = Cp("Тотем");
    return dot.compare(0, totem.size(), totem) == 0;
}

Player MakePlayer(Random& random, std::string name, int classIndex, const SkillsByClass& skills,
                  const SkillsByClass& dots) {
    Player player;
    player.name = std::move(name);
    player.classIndex = classIndex;
    for (auto& skill : Loadout(random, skills[classIndex], static_cast<std::size_t>(random.Between(9, 15))))
        (IsSupportSkill(skill) ? player.supports : player.attacks).push_back(std::move(skill));
    if (player.attacks.empty())
        player.attacks = player.supports;
    player.dots = Loadout(random, dots[classIndex], static_cast<std::size_t>(random.Between(1, 3)));
    // Whoever can summon a totem does, so that every log with such a class shows a summoning.
    const auto& classDots = dots[classIndex];
    const auto totem = std::find_if(classDots.begin(), classDots.end(), IsTotem);
    if (totem != classDots.end() && std::none_of(player.dots.begin(), player.dots.end(), IsTotem))
        player.dots.push_back(WithRank(random, *totem));
    return player;
}

// About a sixth of the characters are mobs, an eighth summons, the rest players and the log owner.
Cast MakeCast(Random& random, int characters, const SkillsByClass& skills, const SkillsByClass& dots) {
    const int mobs = std::max(1, characters / 6);
    const int summons = std::max(1, characters / 8);
    const int players = std::max(1, characters - mobs - summons - 1);

    static const std::vector<std::string> playerNames =
        CpAll({"Ария",       "Мира",    "Алрик",   "Лиса",    "Таран",    "Велена",  "Ратибор",  "Злата",
               "Ярослав",    "Милена",  "Добрыня", "Вереск",  "Ингвар",   "Росава",  "Тихомир",  "Лада",
               "Радомир",    "Забава",  "Ждан",    "Весна",   "Боян",     "Гордей",  "Дарина",   "Елисей",
               "Зоряна",     "Кира",    "Лютобор", "Неждана", "Остромир", "Снежана", "Умила",    "Фрол",
               "Хельга",     "Чеслава", "Ярина",   "Азар",    "Берислав", "Горын",   "Далибор",  "Есения",
               "Звенислава", "Искра",   "Купава",  "Любава",  "Мстислав", "Огнеяр",  "Пересвет", "Рогнеда"});
    static const std::vector<std::string> summonNames =
        CpAll({"Дух бури", "Огненный идол", "Дух огня", "Дух земли", "Дух воды", "Грозовой идол",
               "Каменный идол", "Ледяной дух", "Дух ветра", "Пепельный идол"});
    static const std::vector<std::string> mobNames =
        CpAll({"Манекен", "Древний тролль", "Багровый ящер", "Хранитель руин", "Ледяная гарпия",
               "Костяной голем", "Болотный шаман", "Владыка пепла", "Ржавый механоид", "Пещерный паук",
               "Песчаный червь", "Тёмный жрец"});

    std::set<std::string> used;
    Cast cast;
    cast.owner = MakePlayer(random, std::string(), static_cast<int>(random.Below(kClassCount)), skills, dots);
    for (int i = 0; i < players; ++i) {
        // Every class turns up before any class comes twice.
        const int classIndex = i < kClassCount
                                   ? static_cast<int>((cast.owner.classIndex + 1 + i) % kClassCount)
                                   : static_cast<int>(random.Below(kClassCount));
        cast.players.push_back(
            MakePlayer(random, InventName(random, used, playerNames), classIndex, skills, dots));
        cast.playerActivity.Add(static_cast<std::uint32_t>(random.Between(2, 6)));
    }
    for (int i = 0; i < summons; ++i) {
        std::string name = i < static_cast<int>(summonNames.size())
                               ? summonNames[static_cast<std::size_t>(i)]
                               : InventName(random, used, {}) + " " + Cp("дух");
        cast.summons.push_back(std::move(name));
    }
    std::vector<std::string> mobPool = mobNames;
    for (std::size_t i = 0; i + 1 < mobPool.size(); ++i)
        std::swap(mobPool[i], mobPool[i + random.Below(static_cast<std::uint32_t>(mobPool.size() - i))]);
    for (int i = 0; i < mobs; ++i) {
        std::string name = i < static_cast<int>(mobPool.size()) ? mobPool[static_cast<std::size_t>(i)]
                                                                : Cp("Страж ") + InventName(random, used, {});
        cast.mobs.push_back(std::move(name));
    }
    return cast;
}

// ---------------------------------------------------------------------------------------------------
// Output

// The date and time at the head of each line, "2026.12.09 21:14:03 : ".
class Clock {
  public:
    Clock() { Render(); }
    // Starts at a date and time given as "YYYY.MM.DD hh:mm:ss"; false when it is not one.
    bool SetStart(std::string_view text) {
        int values[6];
        const std::size_t at[6] = {0, 5, 8, 11, 14, 17};
        const std::size_t width[6] = {4, 2, 2, 2, 2, 2};
        if (text.size() != 19)
            return false;
        for (int i = 0; i < 6; ++i) {
            const char* first = text.data() + at[i];
            const auto [end, error] = std::from_chars(first, first + width[i], values[i]);
            if (error != std::errc() || end != first + width[i])
                return false;
        }
        year_ = values[0], month_ = values[1], day_ = values[2];
        hour_ = values[3], minute_ = values[4], second_ = values[5];
        if (year_ < 1 || month_ < 1 || month_ > 12 || day_ < 1 || day_ > DaysInMonth() || hour_ > 23 ||
            minute_ > 59 || second_ > 59)
            return false;
        Render();
        return true;
    }
    // Lines without the date, "21:14:03 : ", as older clients and hand-cut logs have them.
    void SetUndated(bool undated) { undated_ = undated; }
    std::string_view Prefix() const {
        return undated_ ? std::string_view(text_.data() + kDateLength, kLength - kDateLength)
                        : std::string_view(text_.data(), kLength);
    }

    void Advance(int seconds) {
        second_ += seconds;
        while (second_ >= 60) {
            second_ -= 60;
            if (++minute_ < 60)
                continue;
            minute_ = 0;
            if (++hour_ < 24)
                continue;
            hour_ = 0;
            if (++day_ <= DaysInMonth())
                continue;
            day_ = 1;
            if (++month_ <= 12)
                continue;
            month_ = 1;
            ++year_;
        }
        Render();
    }

  private:
    int DaysInMonth() const {
        static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year_ % 4 == 0 && year_ % 100 != 0) || year_ % 400 == 0;
        return days[month_ - 1] + (month_ == 2 && leap ? 1 : 0);
    }
    // "YYYY.MM.DD hh:mm:ss : "; the year stays below 10000 for any log a disk can hold.
    void Render() {
        auto put = [this](std::size_t at, int value, int width) {
            for (int k = width - 1; k >= 0; --k, value /= 10)
                text_[at + static_cast<std::size_t>(k)] = char('0' + value % 10);
        };
        put(0, year_, 4);
        put(5, month_, 2);
        put(8, day_, 2);
        put(11, hour_, 2);
        put(14, minute_, 2);
        put(17, second_, 2);
    }

    int year_ = 2026, month_ = 12, day_ = 9, hour_ = 21, minute_ = 14, second_ = 3;
    bool undated_ = false;
    static constexpr std::size_t kLength = 22;
    static constexpr std::size_t kDateLength = 11;  // "YYYY.MM.DD "
    std::array<char, kLength> text_ = {'0', '0', '0', '0', '.', '0', '0', '.', '0', '0', ' ',
                                       '0', '0', ':', '0', '0', ':', '0', '0', ' ', ':', ' '};
};

// Collects lines in a large buffer and writes it out in big blocks; stops before the line that would
// make the file longer than the limit.
class LogWriter {
  public:
    LogWriter(std::FILE* file, std::uint64_t limit) : file_(file), limit_(limit) {
        buffer_.reserve(kBlock + 4096);
    }

    void Begin(std::string_view prefix) {
        lineStart_ = buffer_.size();
        buffer_.append(prefix);
    }
    LogWriter& operator<<(std::string_view text) {
        buffer_.append(text);
        return *this;
    }
    LogWriter& operator<<(std::int64_t number) {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
        buffer_.append(digits, static_cast<std::size_t>(end - digits));
        return *this;
    }
    // False when the line does not fit; it is then dropped and the log is complete.
    bool End() {
        buffer_.append("\r\n");
        const std::uint64_t length = buffer_.size() - lineStart_;
        if (written_ + lineStart_ + length > limit_) {
            buffer_.resize(lineStart_);
            return false;
        }
        ++lines_;
        if (buffer_.size() >= kBlock)
            Flush();
        return true;
    }
    void Flush() {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            throw std::runtime_error("write failed");
        written_ += buffer_.size();
        buffer_.clear();
        lineStart_ = 0;
    }
    std::uint64_t Bytes() const { return written_ + buffer_.size(); }
    std::uint64_t Lines() const { return lines_; }
    std::uint64_t Room() const { return limit_ - std::min(limit_, Bytes()); }

  private:
    static constexpr std::size_t kBlock = 8u << 20;
    std::FILE* file_;
    std::uint64_t limit_;
    std::uint64_t written_ = 0;
    std::uint64_t lines_ = 0;
    std::size_t lineStart_ = 0;
    std::string buffer_;
};

// ---------------------------------------------------------------------------------------------------
// The fight

// The kinds of line, with their share of the log in thousandths. Damage lines make up most of it;
// several kinds are written as critical hits now and then.
enum class Shape {
    SkillUse,
    Buff,
    DotApplication,
    DotApplicationWithDamage,
    DirectHit,
    OwnerSkill,
    DotTick,
    OwnerHit,
    MagicDamage,
    Decomposition,
    EffectInOwnName,
    ElementalHit,
    HolyEnergy,
    HolyPower,
    Reflect,
    MobHit,
    MobSkill,
    Chatter,
};

constexpr std::array<std::pair<Shape, std::uint32_t>, 18> kShapeShares = {{
    {Shape::SkillUse, 295},
    {Shape::Buff, 35},
    {Shape::DotApplication, 25},
    {Shape::DotApplicationWithDamage, 15},
    {Shape::DirectHit, 140},
    {Shape::OwnerSkill, 105},
    {Shape::DotTick, 130},
    {Shape::OwnerHit, 35},
    {Shape::MagicDamage, 30},
    {Shape::Decomposition, 20},
    {Shape::EffectInOwnName, 22},
    {Shape::ElementalHit, 15},
    {Shape::HolyEnergy, 7},
    {Shape::HolyPower, 7},
    {Shape::Reflect, 9},
    {Shape::MobHit, 60},
    {Shape::MobSkill, 20},
    {Shape::Chatter, 30},
}};

// A DoT put on the target by a player; it ticks a few times and wears off.
struct ActiveDot {
    std::string skill;
    int ticksLeft = 0;
};

// How long fights are and how long the rests between them, in lines and seconds.
struct FightShape {
    int minLines = 1500, maxLines = 6000;
    int minRest = 40, maxRest = 400;
};

class FightWriter {
  public:
    FightWriter(const Cast& cast, Random& random, LogWriter& out, const FightShape& shape, Clock clock)
        : cast_(cast), random_(random), out_(out), shape_(shape), clock_(clock) {
        for (const auto& [shape, share] : kShapeShares)
            shapes_.Add(share);
    }

    // Writes fights until the log is full. The last fight is cut short so that its closing lines still
    // fit: the log ends with a beaten foe, not in the middle of a line or a fight.
    void Run() {
        while ((fightNo_ == 0 || out_.Room() > 2 * kClosingRoom) && Fight()) {
        }
        out_.Flush();
    }

  private:
    static constexpr std::uint64_t kClosingRoom = 256;  // more than the two closing lines take

    bool Fight() {
        target_ = &cast_.mobs[fightNo_ % cast_.mobs.size()];
        ++fightNo_;
        active_.clear();
        out_.Begin(clock_.Prefix());
        out_ << Cp("Вы вступили в бой с противником ") << *target_ << ".";
        if (!out_.End())
            return false;
        const int length = random_.Between(shape_.minLines, shape_.maxLines);
        for (int i = 0; i < length && out_.Room() > kClosingRoom; ++i) {
            Tick();
            if (!Next())
                return false;
        }
        clock_.Advance(1);
        out_.Begin(clock_.Prefix());
        out_ << Cp("Вы одержали победу над противником ") << *target_ << ".";
        if (!out_.End())
            return false;
        out_.Begin(clock_.Prefix());
        out_ << Cp("Получено опыта: ") << Amount(800, 9000) << ".";
        if (!out_.End())
            return false;
        clock_.Advance(random_.Between(shape_.minRest, shape_.maxRest));  // rest and walk to the next fight
        return true;
    }

    // The game writes several lines a second in a busy fight.
    void Tick() {
        if (random_.PerMille(330))
            clock_.Advance(random_.PerMille(50) ? random_.Between(2, 4) : 1);
    }

    std::int64_t Amount(int lo, int hi) { return random_.Between(lo, hi); }
    // A critical hit does one and a half to twice and a bit the damage.
    std::int64_t Damage(int lo, int hi, bool critical) {
        const std::int64_t amount = Amount(lo, hi);
        return critical ? amount * random_.Between(150, 220) / 100 : amount;
    }

    const Player& SomePlayer() { return cast_.players[cast_.playerActivity.Pick(random_)]; }
    // Mostly the fight's main target, now and then another mob that joined in.
    const std::string& Target() {
        return random_.PerMille(880) || cast_.mobs.size() < 2 ? *target_ : random_.Pick(cast_.mobs);
    }
    const std::string& SomeMob() { return random_.PerMille(800) ? *target_ : random_.Pick(cast_.mobs); }
    std::string Rank() {
        return kRankNumerals[random_.Below(static_cast<std::uint32_t>(kRankNumerals.size()))];
    }

    // " использует: " or " использует ", as the client writes one or the other.
    std::string_view Uses() {
        static const std::string colon = Cp(" использует: ");
        static const std::string plain = Cp(" использует ");
        return random_.PerMille(550) ? std::string_view(colon) : std::string_view(plain);
    }

    void Receives(const std::string& target, std::int64_t amount) {
        out_ << ". " << target << Cp(" получает ") << amount << Cp(" ед. урона.");
    }

    bool Next() {
        out_.Begin(clock_.Prefix());
        const Shape shape = kShapeShares[shapes_.Pick(random_)].first;
        switch (shape) {
            case Shape::SkillUse: {
                const Player& p = SomePlayer();
                const bool critical = random_.PerMille(150);
                if (critical)
                    out_ << Cp("Критический удар! ");
                out_ << p.name << Uses() << random_.Pick(p.attacks);
                Receives(Target(), Damage(300, 3500, critical));
                break;
            }
            case Shape::Buff: {
                // A character without heals or shields puts a DoT on the target instead.
                const Player& p = SomePlayer();
                if (p.supports.empty())
                    ApplyDot(p, false);
                else
                    out_ << p.name << Uses() << random_.Pick(p.supports) << ".";
                break;
            }
            case Shape::DotApplication:
                ApplyDot(SomePlayer(), false);
                break;
            case Shape::DotApplicationWithDamage:
                ApplyDot(SomePlayer(), true);
                break;
            case Shape::DirectHit: {
                const bool critical = random_.PerMille(180);
                if (critical)
                    out_ << Cp("Критический удар! ");
                out_ << SomePlayer().name << Cp(" наносит ") << Damage(60, 700, critical)
                     << Cp(" ед. урона цели ") << Target() << ".";
                break;
            }
            case Shape::OwnerSkill: {
                const bool critical = random_.PerMille(190);
                if (critical)
                    out_ << Cp("Критический удар! ");
                out_ << random_.Pick(cast_.owner.attacks) << Cp(": ") << Target() << Cp(" получает ")
                     << Damage(300, 3500, critical) << Cp(" ед. урона.");
                break;
            }
            case Shape::DotTick:
                out_ << NextDotTick() << Cp(": ") << *target_ << Cp(" получает ") << Amount(20, 400)
                     << Cp(" ед. урона.");
                break;
            case Shape::OwnerHit: {
                const bool critical = random_.PerMille(120);
                if (critical)
                    out_ << Cp("Критический удар! ");
                out_ << Cp("Вы нанесли ") << Damage(60, 600, critical) << Cp(" ед. урона цели ") << Target()
                     << ".";
                break;
            }
            case Shape::MagicDamage:
                out_ << random_.Pick(cast_.summons) << Cp(": Магический урон");
                Receives(Target(), Amount(100, 1200));
                break;
            case Shape::Decomposition: {
                static const std::vector<std::string> elements =
                    CpAll({"огонь", "земля", "вода",  "воздух", "огонь", "земля", "вода",   "воздух",
                           "огонь", "вода",  "земля", "воздух", "огонь", "вода",  "воздух", "земля",
                           "огонь", "вода",  "земля", "воздух", "лёд",   "тьма"});
                out_ << Cp("Команда: Разложение (") << random_.Pick(elements) << "): " << Target()
                     << Cp(" получает ") << Amount(150, 900) << Cp(" ед. урона.");
                break;
            }
            case Shape::EffectInOwnName: {
                const std::string name = random_.PerMille(500) ? random_.Pick(cast_.summons) : NextDotTick();
                out_ << name << Cp(" использует ") << name;
                Receives(Target(), Amount(30, 600));
                break;
            }
            case Shape::ElementalHit: {
                static const std::vector<std::string> elementals =
                    CpAll({"Элементаль огня", "Элементаль земли", "Элементаль воды", "Элементаль воздуха"});
                out_ << random_.Pick(elementals) << Cp(" наносит ") << Amount(100, 800)
                     << Cp(" ед. урона цели ") << Target() << ".";
                break;
            }
            case Shape::HolyEnergy:
                out_ << Cp("Святая энергия использует: Кара ") << Rank() << Cp(". Святая энергия наносит ")
                     << Amount(100, 700) << Cp(" ед. урона.");
                break;
            case Shape::HolyPower:
                out_ << Cp("Святая мощь использует: Гнев ") << Rank();
                Receives(Target(), Amount(100, 700));
                break;
            case Shape::Reflect:
                out_ << SomePlayer().name << Cp(" отражает атаку и наносит ") << Amount(30, 400)
                     << Cp(" ед. урона.");
                break;
            case Shape::MobHit:
                if (random_.PerMille(250))
                    out_ << SomeMob() << Cp(" наносит вам ") << Amount(200, 3000) << Cp(" ед. урона.");
                else
                    out_ << SomeMob() << Cp(" наносит ") << Amount(200, 3000) << Cp(" ед. урона цели ")
                         << SomePlayer().name << ".";
                break;
            case Shape::MobSkill: {
                static const std::vector<std::string> mobSkills =
                    CpAll({"Сокрушение", "Удар хвостом", "Рёв бездны", "Каменный дождь", "Топот",
                           "Огненное дыхание", "Ядовитый плевок", "Разрушительный взмах"});
                out_ << SomeMob() << Cp(" использует: ") << random_.Pick(mobSkills);
                Receives(SomePlayer().name, Amount(500, 4000));
                break;
            }
            case Shape::Chatter:
                Chatter();
                break;
        }
        return out_.End();
    }

    void ApplyDot(const Player& p, bool withDamage) {
        const std::string& dot = random_.Pick(p.dots);
        active_.push_back({dot, random_.Between(3, 9)});
        if (IsTotem(dot)) {
            out_ << dot << Cp(": появляется по зову персонажа ") << p.name << ".";
        } else if (withDamage) {
            out_ << p.name << Uses() << dot;
            Receives(Target(), Amount(100, 900));
        } else {
            out_ << p.name << Uses() << dot << ".";
        }
    }

    // The skill of the next DoT tick: a DoT some player put on the target, or else one of the owner's
    // own, whose casting the log does not show.
    std::string NextDotTick() {
        if (!active_.empty() && random_.PerMille(700)) {
            const std::size_t i = random_.Below(static_cast<std::uint32_t>(active_.size()));
            std::string skill = active_[i].skill;
            if (--active_[i].ticksLeft == 0) {
                active_[i] = std::move(active_.back());
                active_.pop_back();
            }
            return skill;
        }
        return random_.Pick(cast_.owner.dots);
    }

    void Chatter() {
        static const std::vector<std::string> shouts =
            CpAll({"держим его у стены", "хил, смотри на танка", "ещё немного", "кто на аддах?",
                   "бафы через минуту", "отходим от лужи", "все на меня", "бей по щиту"});
        const Player& p = SomePlayer();
        switch (random_.Below(7)) {
            case 0:
                out_ << Cp("[Группа] ") << p.name << ": " << random_.Pick(shouts);
                break;
            case 1:
                out_ << p.name << Cp(" восстанавливает ") << Amount(200, 2500) << Cp(" очков здоровья.");
                break;
            case 2:
                out_ << p.name << Cp(" уклоняется от атаки.");
                break;
            case 3:
                out_ << *target_ << Cp(" впадает в ярость.");
                break;
            case 4:
                out_ << Cp("Вы применили ")
                     << random_.Pick(cast_.owner.supports.empty() ? cast_.owner.attacks
                                                                  : cast_.owner.supports)
                     << ".";
                break;
            case 5:
                out_ << Cp("Эффект ") << random_.Pick(p.attacks) << Cp(" закончился.");
                break;
            default:
                out_ << p.name << Cp(" сопротивляется эффекту ") << random_.Pick(p.attacks) << ".";
                break;
        }
    }

    const Cast& cast_;
    Random& random_;
    LogWriter& out_;
    FightShape shape_;
    Clock clock_;
    WeightedChoice shapes_;
    const std::string* target_ = nullptr;
    std::size_t fightNo_ = 0;
    std::vector<ActiveDot> active_;
};

// ---------------------------------------------------------------------------------------------------
// Command line

struct Options {
    std::uint64_t size = 0;
    std::uint64_t seed = 1;
    std::string dots = std::string(LOGGEN_DEFAULT_RESOURCES) + "/dots.txt";
    std::string skills = std::string(LOGGEN_DEFAULT_RESOURCES) + "/skills.txt";
    int characters = 30;
    FightShape fights;
    std::string start;
    bool undated = false;
    std::string output;
};

constexpr std::string_view kUsage =
    "usage: tallyscope-loggen --size BYTES [--seed N] [--dots FILE] [--skills FILE] [--characters N] -o OUT\n"
    "  --size         size of the log; a suffix K, M or G multiplies by 1024, 1024^2, 1024^3.\n"
    "                 The log ends with a finished fight a few hundred bytes short of it at most.\n"
    "  --seed         seed of the made-up fight (default 1); the same arguments give the same bytes\n"
    "  --dots         DoT skills per class, Windows-1251 (default: the shipped list)\n"
    "  --skills       skills per class, Windows-1251 (default: the shipped list)\n"
    "  --characters   players, summons and mobs to invent, the log owner included (default 30, 4 to 1000)\n"
    "  --fight-lines  A:B  lines of a fight, from A to B (default 1500:6000)\n"
    "  --rest         A:B  seconds between two fights, from A to B (default 40:400)\n"
    "  --start        the first line's date and time, \"YYYY.MM.DD hh:mm:ss\" (default 2026.12.09 21:14:03)\n"
    "  --undated      write only the time of day at the head of each line, \"21:14:03 : \"\n"
    "  -o             the log to write\n";

std::optional<std::uint64_t> ParseCount(std::string_view text, bool withSuffix) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    std::string_view rest(end, static_cast<std::size_t>(text.data() + text.size() - end));
    if (rest.empty())
        return value;
    if (!withSuffix || rest.size() != 1)
        return std::nullopt;
    int shift = 0;
    switch (rest[0]) {
        case 'K':
        case 'k':
            shift = 10;
            break;
        case 'M':
        case 'm':
            shift = 20;
            break;
        case 'G':
        case 'g':
            shift = 30;
            break;
        default:
            return std::nullopt;
    }
    if (value > (UINT64_MAX >> shift))
        return std::nullopt;
    return value << shift;
}

// "A:B" with 0 <= A <= B <= limit.
bool ParseRange(std::string_view text, int limit, int& low, int& high) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto a = ParseCount(text.substr(0, colon), false);
    const auto b = ParseCount(text.substr(colon + 1), false);
    if (!a || !b || *a > *b || *b > static_cast<std::uint64_t>(limit))
        return false;
    low = static_cast<int>(*a);
    high = static_cast<int>(*b);
    return true;
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    bool haveSize = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (arg == "--undated") {
            options.undated = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::cerr << "tallyscope-loggen: " << arg << " needs a value\n";
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        std::optional<std::uint64_t> number;
        if (arg == "--size") {
            number = ParseCount(value, true);
            if (number)
                options.size = *number, haveSize = true;
        } else if (arg == "--seed") {
            number = ParseCount(value, false);
            if (number)
                options.seed = *number;
        } else if (arg == "--characters") {
            number = ParseCount(value, false);
            if (number && *number >= 4 && *number <= kMaxCharacters)
                options.characters = static_cast<int>(*number);
            else
                number.reset();
        } else if (arg == "--fight-lines" || arg == "--rest") {
            const bool ok =
                arg == "--rest"
                    ? ParseRange(value, 86400, options.fights.minRest, options.fights.maxRest)
                    : ParseRange(value, 10000000, options.fights.minLines, options.fights.maxLines);
            if (ok && options.fights.maxLines >= 1)
                number = 0;
        } else if (arg == "--start") {
            options.start = value;
            if (Clock().SetStart(value))
                number = 0;
        } else if (arg == "--dots" || arg == "--skills" || arg == "-o") {
            (arg == "--dots" ? options.dots : arg == "--skills" ? options.skills : options.output) = value;
            continue;
        } else {
            std::cerr << "tallyscope-loggen: unknown option " << arg << "\n" << kUsage;
            return std::nullopt;
        }
        if (!number) {
            std::cerr << "tallyscope-loggen: bad value for " << arg << ": " << value << "\n";
            return std::nullopt;
        }
    }
    if (!haveSize || options.output.empty()) {
        std::cerr << kUsage;
        return std::nullopt;
    }
    return options;
}

int Generate(const Options& options) {
    const SkillsByClass skills = ReadReferenceList(options.skills);
    const SkillsByClass dots = ReadReferenceList(options.dots);
    for (int c = 0; c < kClassCount; ++c) {
        if (skills[c].empty() || dots[c].empty())
            throw std::runtime_error(
                "the reference lists must name skills and DoT skills for all eleven classes");
    }

    Random random(options.seed);
    const Cast cast = MakeCast(random, options.characters, skills, dots);

    std::FILE* file = std::fopen(options.output.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot create " + options.output);
    const auto started = std::chrono::steady_clock::now();
    LogWriter out(file, options.size);
    try {
        Clock clock;
        if (!options.start.empty())
            clock.SetStart(options.start);
        clock.SetUndated(options.undated);
        FightWriter(cast, random, out, options.fights, clock).Run();
    } catch (...) {
        std::fclose(file);
        throw;
    }
    if (std::fclose(file) != 0)
        throw std::runtime_error("write failed: " + options.output);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "tallyscope-loggen: %llu lines, %llu bytes in %.2f s (%.0f MB/s)\n",
                 static_cast<unsigned long long>(out.Lines()), static_cast<unsigned long long>(out.Bytes()),
                 seconds, seconds > 0 ? out.Bytes() / 1e6 / seconds : 0.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = ParseOptions(argc, argv);
    if (!options)
        return 2;
    try {
        return Generate(*options);
    } catch (const std::exception& e) {
        std::cerr << "tallyscope-loggen: " << e.what() << "\n";
        return 1;
    }
}
