#!/usr/bin/env python3
"""Writes the demo story's script, story/Rodevez2E.dat, in code page 932 with
CR LF line ends, from the text below.

Lines starting with "#" are commands: #MIDI and #PICT take a file name between
the command and a closing character, #ICON a speaker number (1 ネフィ,
2 ソモ, 3 ダリモ社長, 4 セリナ, 5 編集長, 6 トバ, 7 記者, 8 dove, 0 nobody),
#PAGE ends a page, and #ENDI ends the script. The name of #MIDI starts in
column 8 and that of #PICT in column 11, so the picture command has four
blanks before its quote.
    /usr/bin/python3 tools/make_story_script.py
"""
import os

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "story", "Rodevez2E.dat")

STORY = """\
#PICT    "office.bmp"
#ICON 5
「ネフィ、ちょっと来てくれ。」

朝いちばん、編集長の声が編集部に響いた。
窓の外では、鳩が電線にならんでいる。
#ICON 1
「はい、編集長。なにかありましたか？」

ネフィは書きかけの原稿を置いて、
編集長の机の前に立った。
#ICON 5
「ダリモ社長が、今日の午後に来る。
新しい雑誌の話だそうだ。
お前に案内をたのみたい。」
#ICON 1
「わたしがですか？」

ネフィは思わず聞きかえした。
入社してまだ三か月。
社長に会うのは、これがはじめてだ。
#PAGE
#ICON 2
「大丈夫だよ、ネフィ。
社長はこわい人じゃない。
ちょっと話が長いだけさ。」

となりの席のソモが、笑いながら言った。
#ICON 0
昼休み、ネフィは屋上に出た。
空は高く、風がすこし冷たい。
#MIDI "town.mid"
#PICT    "rooftop.bmp"
#ICON 8
「クルック、クルック。」

手すりに一羽の鳩がおりてきた。
足に、小さな紙が結んである。
#ICON 1
「……手紙？」

紙をひらくと、こう書いてあった。
『三時、駅前の時計台で待つ。セリナ』
#ICON 4
#MIDI "night.mid"
#PICT    "night.bmp"
その夜、時計台の下にセリナがいた。

「来てくれたのね、ネフィ。
あなたに見せたいものがあるの。」

セリナの手には、古い写真が一枚。
そこには若いころのダリモ社長と、
一羽の白い鳩が写っていた。
#ICON 3
「その鳩は、わたしの最初の記者だった。」

いつのまにか、ダリモ社長が立っていた。
「ニュースは足で集めるもの。
この鳩が、それを教えてくれたんだ。」
#ICON 6
「社長、そろそろお時間です。」

秘書のトバが、静かに声をかけた。
#ICON 7
#PICT    "office.bmp"
#MIDI "enka.mid"
次の日、ネフィの記事が雑誌にのった。

題は『鳩とニュースと、わたしたち』。

読者からの手紙が、編集部の机に
山のようにとどいたという。
#ICON 1
「さあ、次の記事を書かなくちゃ。」

おわり
#ENDI
"""


def main():
    lines = STORY.splitlines()
    data = "\r\n".join(lines).encode("cp932") + b"\r\n"
    with open(OUT, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
