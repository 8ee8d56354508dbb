<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="ja_JP">
<context>
    <name>frmAbout</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Über %1</translation>
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
        <translation>Aufgeben</translation>
    </message>
    <message>
        <source>解答表示中</source>
        <translation>Lösung</translation>
    </message>
    <message>
        <source>エラーが発生しました。この問題には正解がありません。画面サイズを大きくするか、文字の数を減らして、新しい問題に挑戦してください。</source>
        <translation>Ein Fehler ist aufgetreten: Diese Aufgabe hat keine Lösung. Vergrößern Sie das Fenster oder verringern Sie die Anzahl der Symbole und versuchen Sie eine neue Aufgabe.</translation>
    </message>
    <message>
        <source>画面が小さすぎるため、問題を作れません。画面サイズを大きくするか、文字の数を減らしてください。</source>
        <translation>Das Fenster ist zu klein für eine Aufgabe. Vergrößern Sie das Fenster oder verringern Sie die Anzahl der Symbole.</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Richtig!</translation>
    </message>
    <message>
        <source>---</source>
        <extracomment>The score board&apos;s mark for a game given up (a row of dashes where a time would stand).</extracomment>
        <translation>---</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>バージョン</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>%1 トレーニング %2 個</source>
        <extracomment>The window title in training mode: the program&apos;s name, then the number of symbols of the level.</extracomment>
        <translation>%1 Training: %2 Symbole</translation>
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
        <translation>Gut erkennbar</translation>
    </message>
    <message>
        <source>色違い</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>記号の色が異なります</source>
        <translation>Das Symbol ändert seine Farbe</translation>
    </message>
    <message>
        <source>置き換え１</source>
        <translation>Anderes Symbol</translation>
    </message>
    <message>
        <source>全く別の記号に置き換えられます</source>
        <translation>Das Symbol wird durch ein ganz anderes ersetzt</translation>
    </message>
    <message>
        <source>置き換え２</source>
        <translation>Ähnliches Symbol</translation>
    </message>
    <message>
        <source>似た記号に置き換えられます</source>
        <translation>Das Symbol wird durch ein ähnlich aussehendes ersetzt</translation>
    </message>
    <message>
        <source>消滅</source>
        <translation>Verschwinden</translation>
    </message>
    <message>
        <source>記号が消えます</source>
        <translation>Das Symbol verschwindet</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Bewegen</translation>
    </message>
    <message>
        <source>記号が移動します</source>
        <translation>Das Symbol wandert in ein anderes Feld</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>表示時間（0.1～10秒）</source>
        <translation>Anzeigedauer (0.1–10 s)</translation>
    </message>
    <message>
        <source>切替時間（0.1～3秒）</source>
        <translation>Pausendauer (0.1–3 s)</translation>
    </message>
    <message>
        <source>記号の数（5～100）</source>
        <translation>Anzahl der Symbole (5–100)</translation>
    </message>
    <message>
        <source>文字の長さ（１～20）</source>
        <translation>Textlänge (1–20)</translation>
    </message>
    <message>
        <source>間違いの項目</source>
        <translation>Arten der Änderung</translation>
    </message>
    <message>
        <source>色&#x3000;（色の指定は16進数で行ってください）</source>
        <translation>Farben (hexadezimal angeben)</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>Farbschema</translation>
    </message>
    <message>
        <source>難しさを自動で調整する</source>
        <translation>Schwierigkeit automatisch anpassen</translation>
    </message>
    <message>
        <source>言語</source>
        <extracomment>The list of languages; the languages themselves are named each in its own.</extracomment>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>自動</source>
        <extracomment>The language of the desktop.</extracomment>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>設定ファイルを保存できませんでした。
%1</source>
        <translation>Die Einstellungsdatei konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
</TS>
