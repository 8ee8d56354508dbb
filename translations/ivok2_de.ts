<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="ja_JP">
<context>
    <name>HistoryStore</name>
    <message>
        <source>記録のフォルダーを作れません（%1）。このフォルダーを作れるか確かめてください。</source>
        <translation>Der Ordner für den Verlauf kann nicht angelegt werden (%1). Prüfen Sie, ob dieser Ordner angelegt werden kann.</translation>
    </message>
    <message>
        <source>記録ファイル %1 は新しい版のIvok２で作られています。この版では読み書きしません。新しい版のIvok２をお使いください。</source>
        <translation>Die Verlaufsdatei %1 stammt von einer neueren Version von Ivok２. Diese Version liest und schreibt sie nicht. Bitte verwenden Sie die neuere Version von Ivok２.</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れていますが、移せません。このフォルダーに書き込めるか確かめてください。</source>
        <translation>Die Verlaufsdatei %1 ist beschädigt, kann aber nicht verschoben werden. Prüfen Sie, ob in diesen Ordner geschrieben werden kann.</translation>
    </message>
    <message>
        <source>記録ファイルが壊れていたため %1 に移し、新しい記録を始めました</source>
        <translation>Die Verlaufsdatei war beschädigt: Sie wurde nach %1 verschoben und ein neuer Verlauf begonnen</translation>
    </message>
    <message>
        <source>記録ファイル %1 を別のプログラムが使っています。使い終われば書き込めます。</source>
        <translation>Ein anderes Programm verwendet die Verlaufsdatei %1. Sobald es fertig ist, wird sie geschrieben.</translation>
    </message>
    <message>
        <source>記録ファイル %1 が壊れています。</source>
        <translation>Die Verlaufsdatei %1 ist beschädigt.</translation>
    </message>
    <message>
        <source>ディスクがいっぱいで記録ファイル %1 に書き込めません。ディスクに空きを作ってください。</source>
        <translation>Der Datenträger ist voll: In die Verlaufsdatei %1 kann nicht geschrieben werden. Schaffen Sie Platz auf dem Datenträger.</translation>
    </message>
    <message>
        <source>記録ファイル %1 を使えません（エラー番号 %2）。</source>
        <translation>Die Verlaufsdatei %1 kann nicht verwendet werden (Fehlernummer %2).</translation>
    </message>
    <message>
        <source>記録ファイル %1 に書き込めません。このファイルとフォルダーに書き込めるか確かめてください。</source>
        <translation>In die Verlaufsdatei %1 kann nicht geschrieben werden. Prüfen Sie, ob diese Datei und ihr Ordner beschreibbar sind.</translation>
    </message>
</context>
<context>
    <name>HistoryWorker</name>
    <message>
        <source>CSVファイル %1 に書き込めません。書き込める場所を選んでください。</source>
        <translation>Die CSV-Datei %1 kann nicht geschrieben werden. Wählen Sie einen beschreibbaren Ort.</translation>
    </message>
    <message>
        <source>前回までに記録できなかったゲーム（%1）を、別のIvok２が使っているため、まだ記録していません。次の起動で記録します。</source>
        <translation>Die bisher nicht gespeicherten Spiele (%1) sind noch nicht gespeichert, weil ein anderes Ivok２ sie gerade verwendet. Sie werden beim nächsten Start gespeichert.</translation>
    </message>
    <message>
        <source>、</source>
        <extracomment>Between the places named in a list.</extracomment>
        <translation>, </translation>
    </message>
    <message numerus="yes">
        <source>記録できない %n 行を %1 に移しました。</source>
        <translation>
            <numerusform>%n nicht speicherbare Zeile wurde nach %1 verschoben.</numerusform>
            <numerusform>%n nicht speicherbare Zeilen wurden nach %1 verschoben.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1まだ記録していないゲーム %n 件は、書き込めるようになりしだい記録します。</source>
        <translation>
            <numerusform>%1 %n noch nicht gespeichertes Spiel wird gespeichert, sobald die Datei wieder beschreibbar ist.</numerusform>
            <numerusform>%1 %n noch nicht gespeicherte Spiele werden gespeichert, sobald die Datei wieder beschreibbar ist.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 件のゲームを記録できませんでした。記録ファイル %1 にも、控えの場所（%2）にも書き込めません。</source>
        <translation>
            <numerusform>%n Spiel konnte nicht gespeichert werden: Weder in die Verlaufsdatei %1 noch an den Ausweichort (%2) kann geschrieben werden.</numerusform>
            <numerusform>%n Spiele konnten nicht gespeichert werden: Weder in die Verlaufsdatei %1 noch an den Ausweichort (%2) kann geschrieben werden.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LanguageName</name>
    <message>
        <source>日本語</source>
        <extracomment>This language&apos;s name in itself, as a player looks for it in a list: English, Deutsch, 简体中文.</extracomment>
        <translation>Deutsch</translation>
    </message>
</context>
<context>
    <name>RecordsChart</name>
    <message>
        <source>正解までの時間</source>
        <translation>Zeit bis zum Treffer</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>上端より遅い正解</source>
        <translation>Treffer langsamer als der obere Rand</translation>
    </message>
    <message>
        <source>直近%1回の中央値</source>
        <extracomment>The line of the median of the last hits; %1 is how many.</extracomment>
        <translation>Median der letzten %1</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Aufgegeben</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Stufe</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>読み込み中…</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>%1
%2&#x3000;%3 個
%4</source>
        <extracomment>A game under the pointer: its start, kind of change, number of symbols and outcome.</extracomment>
        <translation>%1
%2, %3 Symbole
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
Stufe %1</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回、不明 %3 回）</source>
        <translation>Spiele (%1, davon %2 mit abweichenden Bildern, %3 unbekannt)</translation>
    </message>
    <message>
        <source>ゲーム（%1 回、画面がずれたゲーム %2 回）</source>
        <translation>Spiele (%1, davon %2 mit abweichenden Bildern)</translation>
    </message>
    <message>
        <source>
ずれた画面 不明</source>
        <translation>
Abweichende Bilder: unbekannt</translation>
    </message>
    <message>
        <source>
ずれた画面 %1</source>
        <translation>
Abweichende Bilder: %1</translation>
    </message>
</context>
<context>
    <name>RecordsTableModel</name>
    <message>
        <source>色</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>別の記号</source>
        <translation>Anderes Symbol</translation>
    </message>
    <message>
        <source>似た記号</source>
        <translation>Ähnliches Symbol</translation>
    </message>
    <message>
        <source>消える</source>
        <translation>Verschwinden</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Bewegen</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Aufgegeben</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>%1%</source>
        <extracomment>A hit rate in percent.</extracomment>
        <translation>%1 %</translation>
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
        <source>準備中…</source>
        <translation>Vorbereitung …</translation>
    </message>
    <message>
        <source>トレーニング（記録を読み込み中…）</source>
        <translation>Training (Verlauf wird gelesen …)</translation>
    </message>
    <message>
        <source>トレーニング %1 個</source>
        <translation>Training: %1 Symbole</translation>
    </message>
    <message>
        <source>（この画面では %1 個まで）</source>
        <translation> (dieses Fenster fasst höchstens %1)</translation>
    </message>
    <message>
        <source>（新しい版の記録は読めないため、今回のゲームから）</source>
        <translation> (ab diesem Spiel: der Verlauf einer neueren Version ist nicht lesbar)</translation>
    </message>
    <message>
        <source>（記録を別のプログラムが使っているため、今回のゲームから）</source>
        <translation> (ab diesem Spiel: ein anderes Programm verwendet den Verlauf)</translation>
    </message>
    <message>
        <source>（記録を読めないため、今回のゲームから）</source>
        <translation> (ab diesem Spiel: der Verlauf ist nicht lesbar)</translation>
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
<context>
    <name>frmRecords</name>
    <message>
        <source>読み込み中…</source>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>過去7日</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <source>過去30日</source>
        <translation>Letzte 30 Tage</translation>
    </message>
    <message>
        <source>Ivok２の記録</source>
        <translation>Ivok２ – Statistik</translation>
    </message>
    <message>
        <source>記号の数</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>期間</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>CSVに書き出す</source>
        <translation>Als CSV exportieren</translation>
    </message>
    <message>
        <source>種類</source>
        <extracomment>The columns of the table per kind of change.</extracomment>
        <translation>Art</translation>
    </message>
    <message>
        <source>ゲーム数</source>
        <translation>Spiele</translation>
    </message>
    <message>
        <source>正解</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>ギブアップ</source>
        <translation>Aufgegeben</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>正解率</source>
        <translation>Trefferquote</translation>
    </message>
    <message>
        <source>中央値（秒）</source>
        <translation>Median (s)</translation>
    </message>
    <message>
        <source>最高（秒）</source>
        <translation>Bestzeit (s)</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>結果</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>種類ごとの成績</source>
        <translation>Ergebnisse nach Art der Änderung</translation>
    </message>
    <message>
        <source>記号の数ごとの自己ベスト</source>
        <translation>Bestzeiten nach Anzahl der Symbole</translation>
    </message>
    <message>
        <source>今日のゲーム</source>
        <translation>Heutige Spiele</translation>
    </message>
    <message>
        <source>書き出し中…</source>
        <translation>Wird exportiert …</translation>
    </message>
    <message numerus="yes">
        <source>%n 件を %1 に書き出しました</source>
        <translation>
            <numerusform>%n Spiel nach %1 exportiert</numerusform>
            <numerusform>%n Spiele nach %1 exportiert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1に書き出せません（%2）</source>
        <translation>%1 kann nicht geschrieben werden (%2)</translation>
    </message>
</context>
</TS>
