* The story of the default game. Kept in UTF-8; the build converts it to
* Shift-JIS and compiles it into the game folder.
*
* Every message is one line of the message window (19 full-width
* characters, colour codes counted) and no page holds more than six lines;
* @P closes a page that goes on. The opening has no @P: while it is typed,
* every key belongs to the title screen, so a page wait would never end.
*
* Who runs them (content/world/places.txt):
*   020 + M  the story person of town M (021 Morie .. 058 Bork)
*   060 + M  a second person of town M (061, 062, 068, 091, 094)
*   005, 010..019  the hearts of the shrines, ruins and caves
*   004      the sealed gate: an event door for a map that wants one
*   250      the heart of the fortress of Bastor: the ending
*   255      the opening, typed when a new game begins
*
* Flags:
*   010 never set: people who always stay (their vanish flag)
*   020 the elder's letter taken      021 Ashura read (goal 010)
*   022 the great gear turned (011)   023 the pass given (Yukke)
*   024 the lake calmed (005)         025 the helm found (012)
*   026 the ship given (Rodom)        027 the compiler (013)
*   028 the linker (014)              029 the hydra's grave (015)
*   030 the drowned diary (016)       031 the letter delivered
*   032 the debugger (017)            033 Zandrek's diary (018)
*   034 the holy isle (019)           035 the mother's gift
*   036 the rich man's gift           037 the sealed gate opened
*   083 the causeway raised (set by 011; the world map is patched)
*   086 the ending (set last by 250)  255 the event door's answer
*   100..136 are the chests' (places.txt).
* Items (bag): 151 the pass, 160 the ship, 199 the letter to the
* Master, 200 the disc, 201..203 the maker's three tools. The door keys
* 149, 150, 152..159 lie in chests; 151 opens the lake shrine.
*
* ---- the opening ----
evt255
music018 start
printn "十二の国が、ひとつの海に抱かれた世界。"
printc "古い言い伝えによれば、この世界は"
printc "創り手が言葉で書き上げたものだという。"
printc "だが今、その言葉が消えはじめた。"
printc "道が、橋が、森が、夜ごとに無へ還る。"
printc "南東の要塞バストールに、闇の魔道士"
printc "ザンドレクが現れてからのことだ。"
printc "ラムールの村モーリーの剣士@NAME0は、"
printc "幼なじみの@NAME1、魔道士の@NAME2と"
printc "長老に呼ばれ、村への道を急いでいた…。"
endevt
*
* ---- Lamur ----
* 021 the elder of Morie: the letter, then the way east.
evt021
if system020 off
  printn "長老「来たか、@NAME0。よく聞け。」"
  printc "「ザンドレクが、世界を消しておる。」"
  printc "「北の雪国に住む、わが師マスターに」"
  printc "「この手紙を届けてくれぬか？(Y/N)」"
  input
  if ans y
    sysitem199 get
    system020 on
    printc "@C1@ITEM199@C0を受け取った。"
    printc "「海峡の道は消えた。まず北の遺跡へ。」"
    printc "「宝箱の鍵で、東のトンネルが開くはず」"
  else
    printc "「…無理もない。心が決まったら来い。」"
  endif
else
  if system021 off
    printn "長老「アシュラ遺跡は、村の北じゃ。」"
    printc "「鍵を見つけたら、東のトンネルへ。」"
  else
    if system022 off
      printn "長老「トンネルの先は、ターク共和国。」"
      printc "「ナポリの町長を、訪ねるとよい。」"
    else
      printn "長老「土手道が戻ったか！ようやった。」"
      printc "「手紙を、忘れずに届けておくれ。」"
    endif
  endif
endif
endevt
*
* 061 the mother of Morie: a little gold, once.
evt061
if system035 off
  printn "母「@NAME1、気をつけて行くのよ。」"
  printc "「少ないけど、旅の足しにしてね。」"
  status011 up100
  system035 on
  printc "１００Ｇを受け取った。"
else
  printn "母「みんなと、仲良くするのよ。」"
endif
endevt
*
* 022 the scholar of Muu: the sunken causeway.
evt022
printn "学者「昔は海峡に、石の土手道があった」"
printc "「ターク側の遺跡の奥に、その仕掛けが」"
printc "「眠っていると、古文書にある。」"
printc "「遺跡の骸骨は手強い。装備を整えよ。」"
endevt
*
* 062 a child of Muu: a question.
evt062
printn "子供「ぼくも冒険に連れてって！(Y/N)」"
input
if ans y
  printc "「やったー！…でも、母ちゃんが怒るや」"
else
  printc "「ちぇっ。大きくなったら、行くもん！」"
endif
endevt
*
* ---- Turk ----
* 028 the mayor of Napoli: the great gear of the Cosmo ruins.
evt028
if system022 off
  printn "町長「ラムールからトンネルを抜けて？」"
  printc "「よく来てくれた。実は頼みがある。」"
  printc "「北東のコスモ遺跡の、大歯車を回せば」"
  printc "「海峡の土手道が、よみがえるはずだ。」"
else
  printn "町長「土手道が戻った！ありがとう！」"
  printc "「東のトンネルの先は、ビルドの国だ。」"
  printc "「遺跡で見つけた鍵で、扉が開くだろう」"
endif
endevt
*
* 068 a sailor of Napoli: the ship to come.
evt068
printn "船乗り「船があれば、どこへでも行ける」"
printc "「東の大陸の港に、腕のいい船大工が…」"
endevt
*
* 029 a soldier of Shin.
evt029
printn "兵士「東のトンネルの先は、ビルドだ。」"
printc "「扉には、カードの形の鍵がいるそうだ」"
endevt
*
* 030 a child of Dom: a question.
evt030
printn "子供「コスモ遺跡に、骸骨の王様がいる」"
printc "「お兄ちゃんたち、強いの？(Y/N)」"
input
if ans y
  printc "「すごい！王様をやっつけてね！」"
else
  printc "「正直だね。宿屋で休んでいきなよ。」"
endif
endevt
*
* 047 a woman of Bark.
evt047
printn "女「ビルドの湖の祠は、通行証がいるの」"
printc "「ユッケの神官様が、預かっているわ。」"
endevt
*
* ---- Bild ----
* 033 a man of Sai, the first town past the tunnel.
evt033
printn "男「ようこそ、湖と丘の国ビルドへ。」"
printc "「近ごろ、湖の祠の主が荒れている。」"
printc "「ユッケの神官様が、お困りだよ。」"
endevt
*
* 031 the priest of Yukke: the pass to the lake shrine.
evt031
if system023 off
  printn "神官「湖の祠の主が、水を濁らせます。」"
  printc "「どうか、祠を鎮めてください。(Y/N)」"
  input
  if ans y
    sysitem151 get
    system023 on
    printc "@C1@ITEM151@C0を受け取った。"
    printc "「祠は北西、湖のほとりにあります。」"
  else
    printc "「…お気が変わりましたら、どうか。」"
  endif
else
  if system024 off
    printn "神官「@ITEM151で、祠の扉は開きます。」"
  else
    printn "神官「湖が澄みました。ありがとう！」"
    printc "「東のトンネルの先は、エジ大陸です。」"
  endif
endif
endevt
*
* 048 a fisherman of Lakeside.
evt048
printn "漁師「祠の奥に、かぎ屋の鍵があるのさ」"
printc "「東のトンネルの扉は、あれで開く。」"
endevt
*
* 032 a merchant of Jaama.
evt032
printn "商人「エジ大陸の南に、砂の遺跡がある」"
printc "「ロドムの船大工が、何か探していたな」"
endevt
*
* ---- Ezi ----
* 035 a man of Asumu.
evt035
printn "男「砂漠を南へ抜ければ、岩の国だ。」"
printc "「南の魔物は、ずっと手強いぞ。」"
endevt
*
* 046 the rich man of Gold West: a question and a gift, once.
evt046
if system036 off
  printn "富豪「お若いの、金は好きかね？(Y/N)」"
  input
  system036 on
  if ans y
    printc "「正直でよろしい！ほれ、持っていけ。」"
    status011 up300
    printc "３００Ｇを受け取った。"
  else
    printc "「欲のないことだ。では、これを。」"
    status004 up003
    printc "なぜか、魔力が高まった気がする…。"
  endif
else
  printn "富豪「金は、天下の回りものじゃよ。」"
endif
endevt
*
* 036 a woman of Pura.
evt036
printn "女「アーク遺跡には、大ミミズが棲むの」"
printc "「奥には、古い船の舵輪が眠るとか。」"
endevt
*
* 037 the shipwright of Rodom: the ship, once the helm is found.
evt037
if system026 off
  if system025 on
    printn "船大工「その舵輪は…アークの舵輪だ！」"
    printc "「これで、俺の船が完成する！」"
    sysitem160 get
    system026 on
    music017 start
    printc "@C1@ITEM160@C0を手に入れた！"
    printc "「海へ出れば、どこへでも行ける。」"
    printc "「まずは、西のモアイ島へ行ってみな」"
  else
    printn "船大工「船はできたが、舵輪がない。」"
    printc "「南のアーク遺跡に、古い舵輪がある。」"
    printc "「だが、砂の大ミミズが守っているぞ。」"
  endif
else
  printn "船大工「船の調子はどうだい？」"
  printc "「モアイ島は、ここから西の海の上だ。」"
endif
endevt
*
* ---- Moai ----
* 039 the island chief.
evt039
printn "島長「サン遺跡の扉は、炎の鍵で開く。」"
printc "「地下の洞窟には、不死鳥が眠る。」"
printc "「創り手の道具を、守っておるそうじゃ」"
endevt
*
* ---- Sata ----
* 027 a soldier of Sata.
evt027
printn "兵士「北西の洞窟は、水の鍵で開くぞ。」"
printc "「奥では、死神が待っているそうだ。」"
endevt
*
* 026 the bath keeper of Pawa: a question.
evt026
printn "湯守「名物の温泉に、入っていくかい？」"
printc "「火山の湯だ、あったまるよ。(Y/N)」"
input
if ans y
  music013 start
  printc "ゆっくりと、湯につかった…。"
  printc "「いい顔になった！また来なよ。」"
else
  printc "「そうかい。いい湯なのになあ。」"
endif
endevt
*
* 045 the dancer of Hot Beach.
evt045
printn "踊り子「西の、密林の国ジャピへ？」"
printc "「洞窟の扉は、雷の鍵で開くそうよ。」"
printc "「その前に、一曲踊っていく？(Y/N)」"
input
if ans y
  music017 start
  printc "@NAME0たちは、陽気に踊った！"
else
  printc "「あら残念。また来てね。」"
endif
endevt
*
* ---- Japi-Nesian ----
* 025 a man of Japi.
evt025
printn "男「南東の洞窟に、九つ首のヒュドラが」"
printc "「奥の宝箱に、風の鍵があるそうだ。」"
endevt
*
* 038 the fortune teller of Nesian.
evt038
printn "占い婆「北西の洞窟に、天国の鍵がある」"
printc "「要塞の扉を開く、二つの鍵の一つじゃ」"
printc "「北の雪国の賢者が、詳しく知っておる」"
endevt
*
* ---- Frail ----
* 043 a child of Fake.
evt043
printn "子供「マスターは、東のコールドにいる」"
printc "「でも、知らない人とは話さないんだ。」"
endevt
*
* 044 the sailor of Pirine: the sea wraps round.
evt044
printn "船乗り「北の海をまっすぐ進むと…」"
printc "「なぜか、南のカラフの国に出るんだ。」"
printc "「世界は、端と端でつながってるのさ。」"
endevt
*
* 050 the knight of High Hill.
evt050
printn "騎士「カラフの洞窟に、光の鍵がある。」"
printc "「番犬ケルベロスが、守っているとか。」"
endevt
*
* 051 the Master of Cold: the letter, the disc and the truth.
evt051
if system031 off
  if sysitem199 on
    printn "マスター「…モーリーの長老の手紙か。」"
    printc "「そうか、ザンドレクが目覚めたか。」"
    printc "「あやつは、わしの弟子だった男じゃ。」"
    printc "「誤りのない世界を求め、道を外れた。」"
    printc "「全てを無に還す虫、ゼロを放った」@P"
    sysitem199 put
    sysitem200 get
    system031 on
    music017 start
    printc "@C1@ITEM200@C0を受け取った。"
    printc "「世界の最初の言葉が、記されておる。」"
    printc "「コンパイラ、リンカ、デバッガ…」"
    printc "「創り手の道具と共に、ゼロを討て。」"
  else
    printn "マスター「見知らぬ者と、話す気はない」"
    printc "「…モーリーの長老は、元気かのう。」"
  endif
else
  printn "マスター「要塞の扉は、二つの鍵じゃ。」"
  printc "「地獄の鍵は、カラフの遺跡に。」"
  printc "「天国の鍵は、ネシアンの洞窟に。」"
endif
endevt
*
* 091 an old woman of Cold.
evt091
printn "老婆「マスターは、ああ見えて寂しがり」"
printc "「手紙が来ると、一日中読んでいるよ。」"
endevt
*
* ---- Karaf ----
* 055 a soldier of Karaf.
evt055
printn "兵士「南西の遺跡に、地獄の鍵がある。」"
printc "「東の洞窟の扉は、風の鍵で開くぞ。」"
printc "「東のボークトンネルは、バストールへ」"
endevt
*
* 058 a man of Bork.
evt058
printn "男「トンネルの扉は、光の鍵で開くんだ」"
printc "「光の鍵は、南の洞窟の番犬の奥さ。」"
endevt
*
* ---- Bastor ----
* 052 a woman of Bastor.
evt052
printn "女「要塞の奥に、ザンドレクがいる。」"
printc "「扉は二つ。地獄と天国の鍵がいるわ。」"
printc "「宿屋で、よく休んでから行くのよ。」"
endevt
*
* 054 the old soldier of Mars: a question.
evt054
printn "老兵「ザンドレクは、宮廷の学者だった」"
printc "「書き損じのない世界を、夢見ていた。」"
printc "「…昔話を、聞いていくか？(Y/N)」"
input
if ans y
  printn "「世界から涙を消したい、と言っていた」"
  printc "「そのために、世界ごと消すとはな…。」"
else
  printc "「そうか。もう、戻れぬ男だ。」"
endif
endevt
*
* 094 a traveller of Mars: the forgotten isle.
evt094
printn "旅人「西の果てに、忘れられた島がある」"
printc "「聖なる泉の祠を、天使が守っている。」"
printc "「島の魔物は、この世の物と思えぬ強さ」"
endevt
*
* ---- the hearts of the dungeons: the guardian stands before each ----
* 010 the Ashura ruins: the old tablet.
evt010
if system021 off
  system021 on
  printn "崩れた祭壇に、古い石碑が立っている。"
  printc "「言葉を喰う虫、ゼロ。虫を放つ者あり」"
  printc "「其の者、南東の果ての要塞に座す。」"
  status002 up002
  music007 start
  printc "石碑に触れると、力がわいてきた！"
else
  printn "石碑は、静かに立っている。"
endif
endevt
*
* 011 the Cosmo ruins: the great gear raises the causeway.
evt011
if system022 off
  printn "遺跡の奥に、巨大な歯車がある。"
  printc "三人で力を合わせ、歯車を回した…！"
  printc "遠くで、海鳴りのような音が響く。"
  system022 on
  system083 on
  music017 start
  printc "西の海峡に、土手道が浮かび上がった！"
else
  printn "大歯車は、もう動かない。"
endif
endevt
*
* 005 the lake shrine: the spirit's blessing.
evt005
if system024 off
  printn "湖の精霊「濁りが消えた…ありがとう。」"
  printc "「お礼に、守りの祝福を授けましょう。」"
  status005 up002
  status006 up003
  system024 on
  music007 start
  printc "@C1@NAME0@C0たちの守りが、高まった！"
else
  printn "澄んだ泉が、静かに湧いている。"
endif
endevt
*
* 012 the Ark ruins: the helm of the ship.
evt012
if system025 off
  printn "砂の祭壇に、古い舵輪が埋まっている。"
  printc "金色に輝く、大きな船の舵輪だ。"
  system025 on
  music007 start
  printc "ロドムの船大工に、見せてみよう。"
else
  printn "砂の祭壇は、からっぽだ。"
endif
endevt
*
* 013 the cave under the Sun ruins: the compiler.
evt013
if system027 off
  printn "炎の台座に、光る道具が置かれている。"
  printc "声「創り手の道具、コンパイラ。」"
  printc "「言葉を、世界へと変える力なり。」"
  sysitem201 get
  system027 on
  music007 start
  printc "@C1@ITEM201@C0を手に入れた！"
else
  printn "炎の台座は、静かに燃えている。"
endif
endevt
*
* 014 the Moon cave: the linker.
evt014
if system028 off
  printn "月の台座に、鎖の形の道具がある。"
  printc "声「創り手の道具、リンカ。」"
  printc "「ばらばらの言葉を、結ぶ力なり。」"
  sysitem202 get
  system028 on
  music007 start
  printc "@C1@ITEM202@C0を手に入れた！"
else
  printn "月の台座が、青白く光っている。"
endif
endevt
*
* 015 the cave of Japi: the grave in the hydra's nest, mourned with the
*     lament of a fallen party.
evt015
if system029 off
  printn "巣の奥に、古い剣の墓標がある。"
  printc "かつてヒュドラに挑んだ、勇者の墓だ。"
  status002 up003
  status003 up002
  system029 on
  music020 start
  printc "墓標に祈ると、勇気がわいてきた！"
else
  printn "勇者の墓標が、静かに眠っている。"
endif
endevt
*
* 016 the cave of Nesian: the drowned sage's diary.
evt016
if system030 off
  printn "水びたしの部屋に、日記が浮いている。"
  printc "「地獄の鍵は、要塞の一つ目の扉を、」"
  printc "「天国の鍵は、二つ目の扉を開く。」"
  status006 up002
  system030 on
  printc "日記を読み、魔法への守りが高まった。"
else
  printn "にじんだ日記は、もう読めない。"
endif
endevt
*
* 017 the cave of Karaf: the debugger.
evt017
if system032 off
  printn "光の台座に、虫めがねの形の道具がある"
  printc "声「創り手の道具、デバッガ。」"
  printc "「隠れた虫を、暴き出す力なり。」"
  sysitem203 get
  system032 on
  music007 start
  printc "@C1@ITEM203@C0を手に入れた！"
else
  printn "光の台座は、からっぽだ。"
endif
endevt
*
* 018 the Karaf ruins: Zandrek's diary.
evt018
if system033 off
  printn "崩れた書斎に、ザンドレクの日記がある"
  printc "「誤りのない世界には、涙もない。」"
  printc "「私がゼロとなり、全てを書き直そう」"
  status004 up003
  system033 on
  music016 start
  printc "日記を閉じると、魔力が高まっていた。"
else
  printn "日記は、もう開かない。"
endif
endevt
*
* 019 the holy isle: the blessing of the forgotten island.
evt019
if system034 off
  printn "聖なる泉が、まばゆく光っている。"
  printc "声「よくぞ、試練を越えた。」"
  printc "「忘れられた島の祝福を、受けよ。」"
  status002 up005
  status003 up005
  status004 up005
  status005 up005
  status006 up005
  system034 on
  music017 start
  printc "@NAME0たちの、全ての力が上がった！"
else
  printn "泉は、やさしく光っている。"
endif
endevt
*
* 004 the sealed gate: opens for the disc once asked, and stays open.
evt004
system255 off
if system037 on
  system255 on
else
  if sysitem200 on
    printn "扉に、円盤と同じ紋章が刻まれている。"
    printc "円盤を、かざしてみますか？(Y/N)"
    input
    if ans y
      system037 on
      system255 on
      printc "封印が解け、扉が静かに開いた。"
    endif
  else
    printn "固く封印された扉だ。"
    printc "円盤のような紋章が、刻まれている。"
  endif
endif
endevt
*
* 250 the throne of Bastor, after the last guardian: the ending.
* The pages wait with input, so that each is read before the next; the
* ending flag is set last, so the ending screen follows the last key.
evt250
printn "ゼロの影が砕け、ザンドレクが倒れた。"
printc "ザンドレク「…書き直したかったのだ。」"
printc "「誤りも、涙もない、完全な世界を…」"
printc "@NAME1「涙があるから、笑顔もあるの」"
printc "@NAME2「不完全な世界も、悪くない」"
printc "ザンドレク「…そう、か…。」"
input
printn "消えた言葉が、光となって降りそそぐ。"
if sysitem200 on
  printc "円盤に記された、世界の最初の言葉を"
  printc "創り手の道具が、書き戻してゆく。"
endif
printc "道が、橋が、森が、ふたたび形を成す。"
music017 start
input
printn "こうして、十二の国に朝が来た。"
printc "@NAME0たちの旅は、新しい頁となって"
printc "世界の書に、書き加えられたという…。"
input
music019 start
system086 on
endevt
