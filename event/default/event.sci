* The default game's events. Kept here in UTF-8; the build converts it to
* Shift-JIS and compiles it into the game folder.
*
* Who runs them (content/world/places.txt): 001..003 the story people of
* towns 1, 2 and 8; 005 and 010..019 the hearts of the shrines, ruins and
* caves; 250 the heart of the fortress of Bastor; 255 the opening.
* 004 is an event door for any map that wants one.
*
* Flags: 40 the elder's request, 41 the sage's blessing, 42 the gate
* opened, 43 the spring drunk from, 50..59 the altars read. 20..22 are the
* story people's (set, they would leave), 100.. the chests'.
* Items: 7 (iron armour) from the elder, 151 (the pass) from the hermit.
*
* 001 the elder: asks for help once and gives a reward.
evt001
if system040 off
  printn "長老「北の遺跡から、魔物があふれておる。」"
  printc "「遺跡の奥を、調べてはくれぬか？(Y/N)」"
  input
  if ans y
    item007 get
    system040 on
    printc "「ありがたい。これを持って行きなさい。」"
    printc "@C1@NAME0@C0は、@ITEM007を受け取った。"
  else
    printc "「そうか…。気が変わったら、また来ておくれ。」"
  endif
else
  printn "長老「遺跡は、町の北じゃ。気をつけてな。」"
endif
endevt
*
* 002 the hermit: gives the pass once.
evt002
if sysitem151 off
  if system042 off
    printn "仙人「東の祠へ行くのか。」"
    printc "「この@ITEM151を、持って行くがよい。」"
    sysitem151 get
  else
    printn "仙人「祠の扉は、もう開いておる。」"
  endif
else
  printn "仙人「@ITEM151を、祠の扉で見せるのじゃ。」"
endif
endevt
*
* 003 the sage: a blessing once, then a small gift of gold.
evt003
if system041 off
  printn "賢者「おぬしらに、力を授けよう。」"
  status002 up002
  status005 up002
  system041 on
  printc "@C1@NAME0@C0たちは、少し強くなった気がする。"
else
  printn "賢者「旅の足しにするがよい。」"
  status011 up100
  printc "１００Ｇを、受け取った。"
endif
endevt
*
* 004 an event door: opens for the pass once asked, and stays open.
evt004
system255 off
if system042 on
  system255 on
else
  if sysitem151 on
    printn "扉の番人に、@ITEM151を見せた。"
    printc "「通るがよい。」(Y/N)"
    input
    if ans y
      system042 on
      system255 on
      sysitem151 put
      printc "扉が、静かに開いた。"
    endif
  else
    printn "固く閉ざされた扉だ。"
    printc "通るには、何か証が必要らしい。"
  endif
endif
endevt
*
* 005 the spring at the heart of the shrine: more strength of life, once.
* (Statistics change without a cap, so no event fills HP up to its maximum.)
evt005
printn "泉の水を飲んだ。"
if system043 off
  system043 on
  status008 up010
  status007 up010
  printc "@C1@NAME0@C0たちの体力が、上がった！"
else
  printc "冷たくて、おいしい水だ。"
endif
endevt
*
* 010..019 the altars at the hearts of the ruins and caves.
evt010
printn "祭壇に、古い文字が刻まれている。"
printc "「十二の国は、ひとつの海に抱かれて在る。」"
system050 on
endevt
evt011
printn "祭壇に、古い文字が刻まれている。"
printc "「闇の王は、南東の砦に眠る。」"
system051 on
endevt
evt012
printn "祭壇に、古い文字が刻まれている。"
printc "「砂の国の民は、星を頼りに歩いた。」"
system052 on
endevt
evt013
printn "洞窟の奥に、誰かの日記が落ちている。"
if system053 off
  status001 up050
  printc "読んでいるうちに、少し賢くなった。"
  system053 on
else
  printc "もう、読み終えた日記だ。"
endif
endevt
evt014
printn "岩に、爪の跡が残っている。"
printc "何か大きな物が、ここを通ったらしい。"
system054 on
endevt
evt015
printn "古い祭壇だ。"
if system055 off
  printc "@C1@NAME0@C0たちの心に、勇気が満ちる。"
  status004 up002
  system055 on
else
  printc "祭壇は、静まりかえっている。"
endif
endevt
evt016
printn "洞窟の奥は、行き止まりだ。"
printc "冷たい風が、どこかから吹いてくる。"
system056 on
endevt
evt017
printn "祭壇に、古い文字が刻まれている。"
printc "「光の鍵は、忘れられた島に在る。」"
system057 on
endevt
evt018
printn "崩れた玉座がある。"
printc "かつて、ここに王国があったらしい。"
system058 on
endevt
evt019
printn "祠の奥に、光る石が祭られている。"
if system059 off
  printc "石に触れると、魔力が高まった！"
  status010 up005
  status009 up005
  system059 on
else
  printc "石は、静かに光っている。"
endif
endevt
*
* 250 the throne of Bastor: the end of the story.
evt250
printn "闇の王ザンドレクは、ついに倒れた。"
printc "十二の国に、再び光が戻る…。@P"
system086 on
endevt
*
* 255 the opening, typed out when a new game begins.
evt255
printn "遥か昔、十二の国がひとつの海に浮かんでいた。"
printc "西の国ラムールの若者@C1@NAME0@C0は、"
printc "北の果てから届いた凶報に、目を覚ました。@P"
printc "バストールの砦に、闇の王ザンドレクが"
printc "よみがえったという。@P"
printc "@NAME0は、仲間の@NAME1、@NAME2と共に、"
printc "旅立つことを決めた…。@P"
endevt
