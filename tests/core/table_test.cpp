// Table behaviour shared by every table: sort specs, empty values, stability, the row filter,
// widths, and what observers are told.
#include "tallyscope/table.h"

#include <gtest/gtest.h>

#include "tallyscope/result_tables.h"
#include "test_support.h"

namespace tally {
namespace {

using test::Cp;
using test::U8;

CharacterRow Character(const char* name, std::int32_t charClass, std::int64_t total,
                       std::optional<std::int64_t> critical = std::nullopt) {
    CharacterRow row;
    row.charName = Cp(name);
    row.charClass = charClass;
    row.dmgAll = total;
    row.critical = critical;
    return row;
}

std::vector<std::string> Names(const CharacterTable& table) {
    std::vector<std::string> names;
    for (const auto& row : table.Rows())
        names.push_back(U8(row.charName));
    return names;
}

TEST(TableSort, OrdersBySpecWithEmptyValuesFirstAscendingAndLastDescending) {
    struct Case {
        const char* spec;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"DmgAll Desc", {"Бета", "Альфа", "Гамма", "Дельта"}},
        {"dmgall desc", {"Бета", "Альфа", "Гамма", "Дельта"}},
        {"DmgAll", {"Дельта", "Альфа", "Гамма", "Бета"}},  // stable: Альфа before Гамма
        {"Critical Desc", {"Гамма", "Альфа", "Бета", "Дельта"}},
        {"Critical ASC", {"Бета", "Дельта", "Альфа", "Гамма"}},
        {"CharClass Asc;CharName DESC", {"Дельта", "Гамма", "Бета", "Альфа"}},
        {"CharClass Asc , DmgAll Desc", {"Дельта", "Бета", "Альфа", "Гамма"}},
        {"CharName Asc", {"Альфа", "Бета", "Гамма", "Дельта"}},
    };
    for (const auto& c : cases) {
        CharacterTable table;
        table.Append(Character("Альфа", 1, 500, 100000));
        table.Append(Character("Бета", 1, 900));
        table.Append(Character("Гамма", 1, 500, 200000));
        table.Append(Character("Дельта", 0, 100));
        table.Sort(c.spec);
        EXPECT_EQ(Names(table), c.order) << c.spec;
        EXPECT_EQ(table.Current(), 0u) << c.spec;
    }
}

TEST(TableSort, TextOrdersByCodeValue) {
    CharacterTable table;
    for (const char* name : {"ёж", "Ёлка", "Аня", "яма", "zed", "Zed", ""})
        table.Append(Character(name, 1, 0));
    table.Sort("CharName Asc");
    EXPECT_EQ(Names(table), (std::vector<std::string>{"", "Zed", "zed", "Ёлка", "Аня", "яма", "ёж"}));
    table.Sort("CharName Desc");
    EXPECT_EQ(Names(table), (std::vector<std::string>{"ёж", "яма", "Аня", "Ёлка", "zed", "Zed", ""}));
}

TEST(TableSort, UnknownFieldIsAnError) {
    CharacterTable table;
    table.Append(Character("Альфа", 1, 1));
    EXPECT_THROW(table.Sort("Nope Asc"), std::invalid_argument);
}

TEST(TableFilter, HidesClassZeroFromTraversalsButSortsAllRows) {
    CharacterTable table;
    table.Append(Character("Моб", 0, 900));
    table.Append(Character("Ария", 6, 100));
    table.Append(Character("Страж", 2, 500));
    table.SetFiltered(true);
    EXPECT_EQ(table.VisibleCount(), 2u);
    EXPECT_EQ(table.FirstVisible(), 1u);
    table.Sort("DmgAll Desc");
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Моб", "Страж", "Ария"}));
    EXPECT_EQ(table.Current(), 1u);  // the first visible row
    table.SetFiltered(false);
    EXPECT_EQ(table.VisibleCount(), 3u);
}

TEST(TableFilter, SortWithNoVisibleRowChangesNothing) {
    CharacterTable table;
    table.Append(Character("Б", 0, 1));
    table.Append(Character("А", 0, 2));
    table.SetFiltered(true);
    table.Sort("CharName Asc");
    EXPECT_EQ(Names(table), (std::vector<std::string>{"Б", "А"}));
    CharacterTable empty;
    empty.Sort("DmgAll Desc");
    EXPECT_EQ(empty.Current(), kNoRow);
}

TEST(TableWidths, TextIsCutWhenStored) {
    CharacterTable table;
    table.Append(Character(std::string(60, 'n').c_str(), 1, 0));
    EXPECT_EQ(table.At(0).charName.size(), kNameWidth);
}

struct CountingObserver : TableObserver {
    int resets = 0, inserts = 0, changes = 0, removes = 0;
    void AfterReset() override { ++resets; }
    void AfterInsert() override { ++inserts; }
    void AfterRemove() override { ++removes; }
    void RowChanged(std::size_t) override { ++changes; }
};

TEST(TableObserver, HearsEveryKindOfChange) {
    CharacterTable table;
    CountingObserver observer;
    table.AddObserver(&observer);
    table.Append(Character("А", 1, 1));
    table.Insert(0, Character("Б", 1, 2));
    table.Update(1, [](CharacterRow& row) { row.dmgAll = 5; });
    table.Set(0, Character("В", 1, 3));
    table.Sort("DmgAll");
    table.SetFiltered(true);
    table.Remove(0);
    table.Clear();
    EXPECT_EQ(observer.inserts, 2);
    EXPECT_EQ(observer.changes, 2);
    EXPECT_EQ(observer.resets, 3);
    EXPECT_EQ(observer.removes, 1);
    table.RemoveObserver(&observer);
    table.Append(Character("Г", 1, 1));
    EXPECT_EQ(observer.inserts, 2);
}

TEST(TableIndex, FollowsRowsMovedBySortsInsertsAndEdits) {
    CharacterTable table;
    table.Append(Character("А", 1, 1));
    table.Append(Character("Б", 1, 2));
    EXPECT_EQ(table.RowsNamed(Cp("Б")), (TextIndex::Positions{1}));
    table.Sort("DmgAll Desc");
    EXPECT_EQ(table.RowsNamed(Cp("Б")), (TextIndex::Positions{0}));
    table.Insert(0, Character("Б", 1, 0));
    EXPECT_EQ(table.RowsNamed(Cp("Б")), (TextIndex::Positions{0, 1}));
    table.Set(0, Character("В", 1, 0));
    EXPECT_EQ(table.RowsNamed(Cp("Б")), (TextIndex::Positions{1}));
    table.Remove(1);
    EXPECT_TRUE(table.RowsNamed(Cp("Б")).empty());
}

}  // namespace
}  // namespace tally
