* The default game's events. Kept here in UTF-8; the build converts it to
* Shift-JIS and compiles it into the game folder.
*
* Flags: 40 the elder's request, 41 the well spoken to, 100 the shrine gate
* opened, 101 the sage's blessing, 255 the door answer of an event door.
* Items: 7 (iron armour) given by the elder, 151 (the pass) for the shrine.
*
* 001 the elder of Lamur: asks for help once and gives a reward.
evt001
if system040 off
  printn "長老「北の祠の封印が、弱まっておる。」"
  printc "「祠の様子を見てきては、くれぬか？(Y/N)」"
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
  printn "長老「祠は、北の森を抜けた先じゃ。」"
endif
endevt
*
* 002 the old well (an event tile): a voice, then nothing more.
evt002
if system041 off
  printn "井戸の底から、声が聞こえる…。"
  printc "「闇の王が、目を覚まそうとしている…」"
  system041 on
else
  printn "古い井戸だ。水は、涸れている。"
endif
endevt
*
* 003 the shrine gate (an event door): opens for the pass once asked.
evt003
system255 off
if system100 on
  system255 on
else
  if sysitem151 on
    printn "通行証を、扉の番人に見せた。"
    printc "扉を開けますか？(Y/N)"
    input
    if ans y
      system100 on
      system255 on
      sysitem151 put
      printc "扉が、静かに開いた。"
    endif
  else
    printn "固く閉ざされた扉だ。"
    printc "何か、鍵になる物が必要らしい。"
  endif
endif
endevt
*
* 004 the hermit of the wood: gives the pass.
evt004
if sysitem151 off
  if system100 off
    printn "仙人「祠の扉を開けたいのか。」"
    printc "「この通行証を、持って行くがよい。」"
    sysitem151 get
  endif
else
  printn "仙人「通行証を、祠の扉で見せるのじゃ。」"
endif
endevt
*
* 005 the spring of the shrine (an event tile): heals the whole party.
evt005
printn "泉の水を飲んだ。"
printc "体の疲れが、消えていく…。"
status007 up100
status009 up050
music007 start
endevt
*
* 006 the sage: a blessing once, then a small gift of gold.
evt006
if system101 off
  printn "賢者「おぬしらに、力を授けよう。」"
  status002 up002
  status005 up002
  system101 on
  printc "@C1@NAME0@C0たちは、少し強くなった気がする。"
else
  printn "賢者「旅の足しにするがよい。」"
  status011 up100
  printc "１００Ｇを、受け取った。"
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
