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
#ICON 4
「ネフィ、明日の三時に、
もう一度ここで会いましょう。
社長の話の続きを、
あなたに書いてほしいの。」
#ICON 0
#PICT    "station.gif"
#MIDI "town.mid"
次の日の三時。

駅前の広場は、人でにぎわっていた。
時計台の針が、ちょうど三時をさした。
#ICON 1
「セリナさん、どこだろう……。」

ネフィはあたりを見まわした。
売店のまえで、だれかが手をふっている。
#ICON 4
「こっちよ、ネフィ。
すこし歩きましょう。
いいお店を知っているの。」
#PICT    "cafe.jpg"
#MIDI "cafe.mid"
#ICON 0
駅の裏の、小さな喫茶店。

窓の外では、並木がゆれている。
テーブルには、コーヒーがふたつ。
#ICON 4
「この写真、覚えていてね。
あの鳩の名前は、ポポ。
社長が記者だったころ、
ポポが町じゅうの話を運んだの。」
#ICON 1
「鳩が、ニュースを？」

「そう。手紙を足に結んで、
印刷所と編集部を行き来したのよ。」
#PAGE
#ICON 4
「社長は、ポポのことを
ずっと記事にしたかったの。
でも、自分では書けなかった。」

セリナはコーヒーを一口飲んだ。
「だから、あなたに頼みたいの。」
#ICON 1
「……わかりました。
わたし、書いてみます。」

ネフィは手帳をひらいた。
#PICT    "office.bmp"
#MIDI "enka.mid"
#ICON 5
その夜、編集部。

「ネフィ、まだ残っていたのか。」

編集長が、あたたかいお茶を
机の上に置いてくれた。
#ICON 1
「編集長、この記事、
来月号にのせられますか？」
#ICON 5
「……読ませてもらおう。」

編集長は、しばらく黙って読んでいた。
#ICON 5
「いい記事だ。
これは、来月号の巻頭にする。」
#ICON 2
「やったね、ネフィ！」

ソモが、となりの席から手をたたいた。
#PICT    "press.png"
#MIDI "town.mid"
#ICON 6
数日後、印刷所。

「社長、新しい号が刷りあがりました。」

トバが、一冊めを社長に手わたした。
#ICON 3
「……ポポ。
やっと、お前の記事ができたよ。」

社長は、表紙をそっとなでた。
#ICON 8
「クルック。」

窓の外で、白い鳩が一羽、
空へと飛びたっていった。
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
