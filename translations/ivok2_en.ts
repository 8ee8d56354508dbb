<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
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
        <source>%1 トレーニング %2 個</source>
        <extracomment>The window title in training mode: the program&apos;s name, then the number of symbols of the level.</extracomment>
        <translation>%1 Training: %2 symbols</translation>
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
</TS>
