<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>HistoryStore</name>
    <message>
        <source>記録のフォルダーを作れません（%1）。このフォルダーを作れるか確かめてください。</source>
        <translation>Cannot create the history folder (%1). Check that this folder can be created.</translation>
    </message>
    <message>
        <source>記録ファイル %1 は新しい版のIvok２で作られています。この版では読み書きしません。新しい版のIvok２をお使いください。</source>
        <translation>The history file %1 was made by a newer version of Ivok２. This version neither reads nor writes it. Please use the newer version of Ivok２.</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れていますが、移せません。このフォルダーに書き込めるか確かめてください。</source>
        <translation>The history file %1 is damaged but cannot be moved aside. Check that this folder can be written to.</translation>
    </message>
    <message>
        <source>記録ファイルが壊れていたため %1 に移し、新しい記録を始めました</source>
        <translation>The history file was damaged: it was moved to %1 and a new history started</translation>
    </message>
    <message>
        <source>記録ファイル %1 を別のプログラムが使っています。使い終われば書き込めます。</source>
        <translation>Another program is using the history file %1. It will be written once that program is done with it.</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れています。</source>
        <translation>The history file %1 is damaged.</translation>
    </message>
    <message>
        <source>ディスクがいっぱいで記録ファイル %1 に書き込めません。ディスクに空きを作ってください。</source>
        <translation>The disk is full: the history file %1 cannot be written. Free some space on the disk.</translation>
    </message>
    <message>
        <source>記録ファイル %1 を使えません（エラー番号 %2）。</source>
        <translation>Cannot use the history file %1 (error number %2).</translation>
    </message>
    <message>
        <source>記録ファイル %1 に書き込めません。このファイルとフォルダーに書き込めるか確かめてください。</source>
        <translation>Cannot write to the history file %1. Check that this file and its folder can be written to.</translation>
    </message>
</context>
<context>
    <name>HistoryWorker</name>
    <message>
        <source>CSVファイル %1 に書き込めません。書き込める場所を選んでください。</source>
        <translation>Cannot write the CSV file %1. Choose a place that can be written to.</translation>
    </message>
    <message>
        <source>前回までに記録できなかったゲーム（%1）を、別のIvok２が使っているため、まだ記録していません。次の起動で記録します。</source>
        <translation>The games that could not be recorded before (%1) are not recorded yet, because another copy of Ivok２ is using them. They will be recorded at the next start.</translation>
    </message>
    <message>
        <source>、</source>
        <extracomment>Between the places named in a list.</extracomment>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>記録できない %n 行を %1 に移しました。</source>
        <translation>
            <numerusform>Moved %n line that cannot be recorded to %1.</numerusform>
            <numerusform>Moved %n lines that cannot be recorded to %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1まだ記録していないゲーム %n 件は、書き込めるようになりしだい記録します。</source>
        <translation>
            <numerusform>%1 %n game not yet recorded will be recorded as soon as the file can be written.</numerusform>
            <numerusform>%1 %n games not yet recorded will be recorded as soon as the file can be written.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 件のゲームを記録できませんでした。記録ファイル %1 にも、控えの場所（%2）にも書き込めません。</source>
        <translation>
            <numerusform>%n game could not be recorded: neither the history file %1 nor the spare place (%2) can be written to.</numerusform>
            <numerusform>%n games could not be recorded: neither the history file %1 nor the spare place (%2) can be written to.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LanguageName</name>
    <message>
        <source>日本語</source>
        <extracomment>This language&apos;s name in itself, as a player looks for it in a list: English, Deutsch, 简体中文.</extracomment>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>RecordsChart</name>
    <message>
        <source>正解までの時間</source>
        <translation>Time to find the change</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>上端より遅い正解</source>
        <translation>Hits slower than the top</translation>
    </message>
    <message>
        <source>直近%1回の中央値</source>
        <extracomment>The line of the median of the last hits; %1 is how many.</extracomment>
        <translation>Median of the last %1</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Given up</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>読み込み中…</source>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>%1
%2&#x3000;%3 個
%4</source>
        <extracomment>A game under the pointer: its start, kind of change, number of symbols and outcome.</extracomment>
        <translation>%1
%2, %3 symbols
%4</translation>
    </message>
    <message>
        <source> %1 秒</source>
        <translation> %1 s</translation>
    </message>
    <message>
        <source>
レベル %1</source>
        <translation>
Level %1</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回、不明 %3 回）</source>
        <translation>Games (%1, %2 with screens off, %3 unknown)</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回）</source>
        <translation>Games (%1, %2 with screens off)</translation>
    </message>
    <message>
        <source>
ずれた画面 不明</source>
        <translation>
Screens off: unknown</translation>
    </message>
    <message>
        <source>
ずれた画面 %1</source>
        <translation>
Screens off: %1</translation>
    </message>
</context>
<context>
    <name>RecordsTableModel</name>
    <message>
        <source>色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>別の記号</source>
        <translation>Other symbol</translation>
    </message>
    <message>
        <source>似た記号</source>
        <translation>Similar symbol</translation>
    </message>
    <message>
        <source>消える</source>
        <translation>Vanish</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Hit</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Given up</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abandoned</translation>
    </message>
    <message>
        <source>%1%</source>
        <extracomment>A hit rate in percent.</extracomment>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Give up</translation>
    </message>
    <message>
        <source>解答表示中</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>エラーが発生しました。この問題には正解がありません。画面サイズを大きくするか、文字の数を減らして、新しい問題に挑戦してください。</source>
        <translation>An error occurred: this quiz has no answer. Make the window larger or use fewer symbols, and try a new quiz.</translation>
    </message>
    <message>
        <source>画面が小さすぎるため、問題を作れません。画面サイズを大きくするか、文字の数を減らしてください。</source>
        <translation>The window is too small to make a quiz. Make the window larger or use fewer symbols.</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Correct!</translation>
    </message>
    <message>
        <source>---</source>
        <extracomment>The score board&apos;s mark for a game given up (a row of dashes where a time would stand).</extracomment>
        <translation>---</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>準備中…</source>
        <translation>Preparing…</translation>
    </message>
    <message>
        <source>トレーニング（記録を読み込み中…）</source>
        <translation>Training (reading the history…)</translation>
    </message>
    <message>
        <source>トレーニング %1 個</source>
        <translation>Training: %1 symbols</translation>
    </message>
    <message>
        <source>（この画面では %1 個まで）</source>
        <translation> (this window holds at most %1)</translation>
    </message>
    <message>
        <source>（新しい版の記録は読めないため、今回のゲームから）</source>
        <translation> (from this game on: a newer version&apos;s history cannot be read)</translation>
    </message>
    <message>
        <source>（記録を別のプログラムが使っているため、今回のゲームから）</source>
        <translation> (from this game on: another program is using the history)</translation>
    </message>
    <message>
        <source>（記録を読めないため、今回のゲームから）</source>
        <translation> (from this game on: the history cannot be read)</translation>
    </message>
</context>
<context>
    <name>frmOpt</name>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>見やすい</source>
        <translation>Easy to see</translation>
    </message>
    <message>
        <source>色違い</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>記号の色が異なります</source>
        <translation>The symbol changes colour</translation>
    </message>
    <message>
        <source>置き換え１</source>
        <translation>Other symbol</translation>
    </message>
    <message>
        <source>全く別の記号に置き換えられます</source>
        <translation>The symbol is replaced by an entirely different one</translation>
    </message>
    <message>
        <source>置き換え２</source>
        <translation>Similar symbol</translation>
    </message>
    <message>
        <source>似た記号に置き換えられます</source>
        <translation>The symbol is replaced by a similar-looking one</translation>
    </message>
    <message>
        <source>消滅</source>
        <translation>Vanish</translation>
    </message>
    <message>
        <source>記号が消えます</source>
        <translation>The symbol disappears</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>記号が移動します</source>
        <translation>The symbol moves to another cell</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>表示時間（0.1～10秒）</source>
        <translation>Display time (0.1–10 s)</translation>
    </message>
    <message>
        <source>切替時間（0.1～3秒）</source>
        <translation>Blank time (0.1–3 s)</translation>
    </message>
    <message>
        <source>記号の数（5～100）</source>
        <translation>Number of symbols (5–100)</translation>
    </message>
    <message>
        <source>文字の長さ（１～20）</source>
        <translation>Text length (1–20)</translation>
    </message>
    <message>
        <source>間違いの項目</source>
        <translation>Kinds of change</translation>
    </message>
    <message>
        <source>色&#x3000;（色の指定は16進数で行ってください）</source>
        <translation>Colours (enter each in hexadecimal)</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>Colour scheme</translation>
    </message>
    <message>
        <source>難しさを自動で調整する</source>
        <translation>Adjust the difficulty automatically</translation>
    </message>
    <message>
        <source>言語</source>
        <extracomment>The list of languages; the languages themselves are named each in its own.</extracomment>
        <translation>Language</translation>
    </message>
    <message>
        <source>自動</source>
        <extracomment>The language of the desktop.</extracomment>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>設定ファイルを保存できませんでした。
%1</source>
        <translation>The settings file could not be saved.
%1</translation>
    </message>
</context>
<context>
    <name>frmRecords</name>
    <message>
        <source>読み込み中…</source>
        <translation>Loading…</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>過去7日</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>過去30日</source>
        <translation>Last 30 days</translation>
    </message>
    <message>
        <source>Ivok２の記録</source>
        <translation>Ivok２ Records</translation>
    </message>
    <message>
        <source>記号の数</source>
        <translation>Symbols</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>CSVに書き出す</source>
        <translation>Export as CSV</translation>
    </message>
    <message>
        <source>種類</source>
        <extracomment>The columns of the table per kind of change.</extracomment>
        <translation>Kind</translation>
    </message>
    <message>
        <source>ゲーム数</source>
        <translation>Games</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Hits</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Given up</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abandoned</translation>
    </message>
    <message>
        <source>正解率</source>
        <translation>Hit rate</translation>
    </message>
    <message>
        <source>中央値（秒）</source>
        <translation>Median (s)</translation>
    </message>
    <message>
        <source>最高（秒）</source>
        <translation>Best (s)</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>種類ごとの成績</source>
        <translation>Results by kind of change</translation>
    </message>
    <message>
        <source>記号の数ごとの自己ベスト</source>
        <translation>Personal best by number of symbols</translation>
    </message>
    <message>
        <source>今日のゲーム</source>
        <translation>Today&apos;s games</translation>
    </message>
    <message>
        <source>書き出し中…</source>
        <translation>Exporting…</translation>
    </message>
    <message numerus="yes">
        <source>%n 件を %1 に書き出しました</source>
        <translation>
            <numerusform>Exported %n game to %1</numerusform>
            <numerusform>Exported %n games to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1に書き出せません（%2）</source>
        <translation>Cannot write to %1 (%2)</translation>
    </message>
</context>
</TS>
