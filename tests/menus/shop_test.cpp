#include "menus_fixture.h"

#include <gtest/gtest.h>
#include <span>

namespace {

struct Town : ::testing::Test {
  void SetUp() override { fresh_game(); }
};

// ---- The inn ----

TEST_F(Town, TheInnRefusesNinetyNineGoldAndAHundredRestoresAllButTheDead) {
  game.sb.gold = 99;
  game.sb.party[1].status = STATUS_DEAD;
  game.sb.party[1].hp = 0;
  game.sb.party[2].mp = 0;
  game.sb.party[2].base_hp = 1;
  field_menu.cmd_menu = CMD_OPEN;
  open_inn();
  EXPECT_EQ(lines(), (std::vector<std::string>{"【宿屋の娘】", ">いらっしゃいませ。",
                                               ">宿泊代は、１００Ｇです。"}))
      << transcript();
  EXPECT_EQ(reply(inn_key, {K_OK}), ">お金がたりません。");
  EXPECT_EQ(std::tuple(services.inn_win, game.sb.gold), std::tuple(1, 99));
  game.sb.gold = 100;
  inn_key(K_OK);
  EXPECT_EQ(game.sb.gold, 0);
  for (const member& m : std::span(game.sb.party, 3))
    EXPECT_EQ(std::tuple(m.hp, m.mp, m.base_hp), std::tuple(50, 12, 50)) << &m - game.sb.party;
  EXPECT_EQ(game.sb.party[1].status, STATUS_DEAD);
  auto l = lines();
  ASSERT_GE(l.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(l.end() - 3, l.end()),
            (std::vector<std::string>{">ありがとうございます。", "@C1ALICE@C0達は、",
                                      " 戦いの疲れを癒した。"}));
  EXPECT_EQ(std::tuple(services.inn_win, field_menu.cmd_menu), std::tuple(0, CMD_CLOSED));
}

TEST_F(Town, LeavingTheInnShowsTheFarewell) {
  for (int key : {K_CANCEL, K_OK}) {
    fresh_game();
    open_inn();
    if (key == K_OK) press(inn_key, {K_DOWN, K_DOWN});
    EXPECT_EQ(services.inn_row, key == K_OK ? 1 : 0);
    inn_key(key);
    EXPECT_EQ(services.inn_win, 0);
    EXPECT_EQ(lines().back(), ">また、お越しください。");
    EXPECT_EQ(msg_window.msg_visible, 1);
  }
}

// ---- The church ----

TEST_F(Town, TheChurchRevivesToTenHitPointsForThreeHundredGold) {
  game.sb.gold = 400;
  game.sb.party[2].status = STATUS_DEAD | STATUS_POISON;
  game.sb.party[2].hp = 0;
  open_church(7); // no such church: the first one serves
  EXPECT_EQ(services.church_no, 0);
  EXPECT_EQ(lines(), (std::vector<std::string>{"【医者】", ">どうかましたか？"}));
  press(church_key, {K_OK, K_DOWN, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(std::tuple(services.church_member, services.church_row), std::tuple(2, 0));
  church_key(K_OK);
  EXPECT_EQ(std::tuple(game.sb.party[2].hp, game.sb.party[2].status, game.sb.gold),
            std::tuple(10, STATUS_POISON, 100));
  EXPECT_EQ(lines().back(), ">生き返りました。");
  EXPECT_EQ(services.church_pick, 1); // still choosing a member
  EXPECT_EQ(reply(church_key, {K_OK}), ">生きてますよ。");
  EXPECT_EQ(game.sb.gold, 100);
  press(church_key, {K_CANCEL, K_DOWN, K_DOWN, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(services.church_row, CHURCH_LEAVE);
  church_key(K_OK);
  EXPECT_EQ(services.church_win, 0);
}

TEST_F(Town, ChurchServicesRefuseWhatIsNotNeededOrNotPaidFor) {
  game.sb.gold = 49;
  game.sb.party[0].status = STATUS_POISON | STATUS_CURSE;
  open_church(1);
  EXPECT_EQ(reply(church_key, {K_DOWN, K_OK, K_OK}), ">お金がたりません。");
  game.sb.gold = 700;
  EXPECT_EQ(reply(church_key, {K_OK}), ">毒を消しました。");
  EXPECT_EQ(game.sb.gold, 500);
  EXPECT_EQ(reply(church_key, {K_OK}), ">毒はありません。");
  EXPECT_EQ(reply(church_key, {K_CANCEL, K_DOWN, K_OK, K_OK}), ">のろいを消しました。");
  EXPECT_EQ(game.sb.gold, 0);
  EXPECT_EQ(game.sb.party[0].status, 0);
  EXPECT_EQ(reply(church_key, {K_OK}), ">のろいにかかってません。");
  press(church_key, {K_CANCEL, K_CANCEL});
  EXPECT_EQ(services.church_win, 0);
  EXPECT_EQ(msg_window.msg_visible, 0);
}

// ---- The shop ----

struct Shop : Town {
  void SetUp() override {
    Town::SetUp();
    field_menu.cmd_menu = CMD_OPEN;
    open_shop(0);
  }
};

TEST_F(Shop, BuyingAsksWhoCarriesItAndTakesThePrice) {
  game.sb.gold = 100;
  EXPECT_EQ(lines(), std::vector<std::string>{"いらっしゃいませ。"});
  EXPECT_EQ(reply(shop_key, {K_OK}), "どれを買いますか？");
  press(shop_key, {K_DOWN, K_DOWN, K_OK}); // かわのよろい, 60 G
  EXPECT_EQ(services.shop_pick, 1);
  EXPECT_EQ(lines().back(), "誰が持ちますか？");
  carry(1, 0, 5);
  EXPECT_EQ(reply(shop_key, {K_DOWN, K_OK}), "まいどあり！");
  EXPECT_EQ(game.sb.party[1].items[1], 3);
  EXPECT_EQ(game.sb.gold, 40);
  EXPECT_EQ(services.shop_sub, 0);
  EXPECT_EQ(services.shop_pick, 0);
}

TEST_F(Shop, AMemberWithSixteenFullEntriesCannotCarryAPurchase) {
  game.sb.gold = 1000;
  for (int e = 0; e < 16; e++) carry(0, e, 172);
  press(shop_key, {K_OK, K_OK, K_OK, K_OK}); // first ware, member 0
  EXPECT_EQ(lines().back(), "持ち切れないようだ。") << transcript();
  EXPECT_EQ(lines()[lines().size() - 2], "ALICEは、");
  EXPECT_EQ(game.sb.gold, 1000);
  EXPECT_EQ(game.sb.party[1].items[0], 0); // the others' room is not used
  EXPECT_EQ(services.shop_pick, 1);
}

TEST_F(Shop, TooLittleGoldAndAnEmptyWare) {
  game.sb.gold = 99; // どうのつるぎ costs 100
  EXPECT_EQ(reply(shop_key, {K_OK, K_OK}), "それを買うには、お金が足りないようだ。");
  EXPECT_EQ(services.shop_pick, 0);
  open_shop(3); // its fifth ware is none
  press(shop_key, {K_OK, K_DOWN, K_DOWN, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(services.shop_list_row, 4);
  size_t said_before = lines().size();
  shop_key(K_OK);
  EXPECT_EQ(lines().size(), said_before);
  EXPECT_EQ(services.trade_item, 0);
}

TEST_F(Shop, SellingPaysHalfThePriceRoundedDown) {
  game.item_table[170].price = 75;
  carry(2, 0, 1);   // どうのつるぎ
  carry(2, 9, 170); // 75 G pays 37
  EXPECT_EQ(reply(shop_key, {K_DOWN, K_OK}), "誰の物を売りますか？");
  press(shop_key, {K_DOWN, K_DOWN, K_OK});
  EXPECT_EQ(field_menu.item_win, 1);
  EXPECT_EQ(lines().back(), "アイテムを選んでください。");
  press(shop_key, {K_RIGHT, K_DOWN, K_OK});
  EXPECT_EQ(events.wait_answer, 1);
  EXPECT_EQ(lines().back(), "37円で買い取ります。(Y/N)") << transcript();
  EXPECT_EQ(lines()[lines().size() - 2].substr(0, 8), "超やくそ");
  shop_key(K_OK); // confirm waits for the answer
  EXPECT_EQ(events.wait_answer, 1);
  shop_key(K_UP); // the cursor still moves; the question named entry 9
  shop_key(K_Y);
  EXPECT_EQ(game.sb.gold, 37);
  EXPECT_EQ(game.sb.party[2].items[9], 0);
  EXPECT_EQ(game.sb.party[2].items[0], 1);
  EXPECT_EQ(lines().back(), "有難うございました。");
  EXPECT_EQ(field_menu.item_win, 0);
  EXPECT_EQ(services.shop_sell_list, 0);
  EXPECT_EQ(events.wait_answer, 0);
}

TEST_F(Shop, SalesOfNothingOrOfWornItemsAreRefusedAndNoKeepsTheItem) {
  carry(0, 1, 1);
  carry(0, 2, 5);
  game.sb.party[0].eq_mask = 1 << 2;
  EXPECT_EQ(reply(shop_key, {K_DOWN, K_OK, K_OK, K_OK}), "アイテムがありません。");
  EXPECT_EQ(reply(shop_key, {K_DOWN, K_DOWN, K_OK}), "装備しています。");
  EXPECT_EQ(reply(shop_key, {K_UP, K_OK, K_N}), "そうですか。");
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_EQ(game.sb.party[0].items[1], 1);
  EXPECT_EQ(game.sb.gold, 0);
  EXPECT_EQ(field_menu.item_win, 1);
}

TEST_F(Shop, CancelsStepBackOneLevelAtATime) {
  carry(0, 0, 1);
  press(shop_key, {K_DOWN, K_OK, K_OK, K_OK});
  EXPECT_EQ(events.wait_answer, 1);
  shop_key(K_CANCEL);
  EXPECT_EQ(events.wait_answer, 0);
  EXPECT_EQ(field_menu.item_win, 1);
  shop_key(K_CANCEL);
  EXPECT_EQ(field_menu.item_win, 0);
  EXPECT_EQ(services.shop_sell_list, 0);
  shop_key(K_CANCEL);
  EXPECT_EQ(services.shop_sub, 0);
  shop_key(K_CANCEL);
  EXPECT_EQ(services.shop_win, 0);
  EXPECT_EQ(lines(), std::vector<std::string>{"ありがとうございました。"});
}

TEST_F(Shop, LeavingWithDeruThanksAsANewReportAndClosesTheCommandMenu) {
  forget_sounds();
  press(shop_key, {K_UP, K_DOWN, K_DOWN, K_DOWN});
  EXPECT_EQ(menusounds(), 2); // only the moves that moved
  shop_key(K_OK);
  EXPECT_EQ(menusounds(), 3);
  EXPECT_EQ(services.shop_win, 0);
  EXPECT_EQ(field_menu.cmd_menu, CMD_CLOSED);
  EXPECT_EQ(lines(), std::vector<std::string>{"ありがとうございました。"});
}

TEST_F(Shop, EveryWareIsAnItemWithAName) {
  for (const shop_record& s : shop_table)
    for (u8 w : s.wares) EXPECT_TRUE(w == 0 || game.item_table[w].name[0] != ' ') << int{w};
}

} // namespace
