// Words of the languages of central and eastern Europe and of Turkey.
#include "imaging/core/iewordsrows.h"

// clang-format off
const TIEWordList IEGreekWords = {
    "Προεπισκόπηση", "Αρχική", "Αποτέλεσμα", "ΟΚ", "Άκυρο", "Κλείδωμα προεπισκόπησης", "Αντιγραφή αποτελέσματος στην αρχική", "Αντίθεση", "Φωτεινότητα", "Απόχρωση",  // 0
    "Κορεσμός", "Τιμή", "Βασικό χρώμα", "Νέο χρώμα", "Φωτεινότητα", "Κόκκινο", "Πράσινο", "Μπλε", "Τιμές φίλτρου", "Προεπιλογές",  // 10
    "Διαιρέτης", "Φόρτωση", "Αποθήκευση", "Εξισορρόπηση", "Κατώφλι", "Εξισορρόπηση", "Ιστόγραμμα", "Γκρι", "Φως", "Αριστερά",  // 20
    "Πάνω", "Πλάτος", "Ύψος", "Χρώμα", "Ποσότητα αρχικής εικόνας", "Φακός", "Διάθλαση", "Προεπισκόπηση παραμέτρων", "Ποιότητα", "Μέθοδος DCT",  // 30
    "Συντελεστής εξομάλυνσης", "Κλίμακα του γκρι", "Βέλτιστο Huffman", "Αρχικό μέγεθος", "Συμπιεσμένο μέγεθος", "Για προχωρημένους", "Προοδευτική", "Συμπίεση", "Δείκτης εικόνας", "Φωτομετρική",  // 40
    "Στοιχεία σαρωμένου εγγράφου", "Όνομα", "Περιγραφή", "Όνομα σελίδας", "Αριθμός σελίδας", "από", "Οριζ. θέση (ίντσες)", "Κατακ. θέση (ίντσες)", "Χρώματα", "Διαφανές",  // 50
    "Διαφανές χρώμα", "Πεπλεγμένη", "Φόντο", "Οριζ. θέση", "Κατακ. θέση", "Χρόνος καθυστέρησης", "Φίλτρο", "Κύμα", "Πλάτος κύματος", "Μήκος κύματος",  // 60
    "Φάση", "Ανακλαστικό", "Φίλτρο χρήστη", "Μορφολογικά φίλτρα", "Μέγεθος παραθύρου", "Μέγιστο", "Ελάχιστο", "Άνοιγμα", "Κλείσιμο", "Περιστροφή",  // 70
    "Αναστροφή", "Οριζόντια", "Κατακόρυφα", "Εικόνα πεδίου συχνοτήτων", "Επιλέξτε την περιοχή για καθαρισμό", "Απαλοιφή", "Επαναφορά", "Κίνηση", "Φόρτωση φίλτρου", "Αποθήκευση φίλτρου",  // 80
    "Χάρτης ανάγλυφου", "Εκτύπωση", "Περιθώρια", "ίντσες", "Δεξιά", "Κάτω", "Θέση", "Μέγεθος", "Κανονικό", "Προσαρμογή στη σελίδα",  // 90
    "Επέκταση στη σελίδα", "Καθορισμένο μέγεθος", "Διόρθωση γάμμα", "Τιμή", "Ρύθμιση εκτύπωσης", "Αριστερό περιθώριο", "Πάνω περιθώριο", "Δεξί περιθώριο", "Κάτω περιθώριο", "Θέση/μέγεθος",  // 100
    "Πάνω αριστερά", "Πάνω κέντρο", "Πάνω δεξιά", "Κέντρο αριστερά", "Κέντρο", "Κέντρο δεξιά", "Κάτω αριστερά", "Κάτω κέντρο", "Κάτω δεξιά", "Κλείσιμο",  // 110
    "Εφαρμογή", "Μονάδες μέτρησης", "Μονάδες", "Ρυθμός", "Όλα τα γραφικά", "Video for Windows", "Αρχείο", "Μνήμη", "Ενημερώνει αυτόματα την προεπισκόπηση με τις αλλαγές που επιλέξατε", "Εκτύπωση όλων",  // 120
    "Εκτύπωση επιλεγμένων", "Κοινά αρχεία γραφικών", "Όλα τα αρχεία", "HSV", "HSL", "RGB", "FFT", "Όξυνση", "Κανάλια", "εικονοστοιχείο",  // 130
    "καρέ", "bit", "byte", "dpi", "KB", "Προσαρμογή",  // 140
};

const TIEWordList IERussianWords = {
    "Просмотр", "Оригинал", "Результат", "OK", "Отмена", "Закрепить просмотр", "Копировать результат в оригинал", "Контраст", "Яркость", "Оттенок",  // 0
    "Насыщенность", "Значение", "Основной цвет", "Новый цвет", "Светимость", "Красный", "Зелёный", "Синий", "Значения фильтра", "Наборы",  // 10
    "Делитель", "Загрузить", "Сохранить", "Выравнивание", "Порог", "Выровнять", "Гистограмма", "Серый", "Свет", "Слева",  // 20
    "Сверху", "Ширина", "Высота", "Цвет", "Доля исходного изображения", "Линза", "Преломление", "Просмотр параметров", "Качество", "Метод DCT",  // 30
    "Коэффициент сглаживания", "Оттенки серого", "Оптимальный Хаффман", "Исходный размер", "Сжатый размер", "Дополнительно", "Прогрессивный", "Сжатие", "Номер изображения", "Фотометрия",  // 40
    "Сведения о сканированном документе", "Имя", "Описание", "Имя страницы", "Номер страницы", "из", "Позиция по гориз. (дюймы)", "Позиция по верт. (дюймы)", "Цвета", "Прозрачный",  // 50
    "Прозрачный цвет", "Чересстрочный", "Фон", "Позиция по гориз.", "Позиция по верт.", "Задержка", "Фильтр", "Волна", "Амплитуда", "Длина волны",  // 60
    "Фаза", "Отражение", "Фильтр пользователя", "Морфологические фильтры", "Размер окна", "Максимум", "Минимум", "Размыкание", "Замыкание", "Повернуть",  // 70
    "Отразить", "По горизонтали", "По вертикали", "Изображение в частотной области", "Выберите область для очистки", "Очистить", "Сбросить", "Анимировать", "Загрузить фильтр", "Сохранить фильтр",  // 80
    "Карта рельефа", "Печать", "Поля", "дюймы", "Справа", "Снизу", "Положение", "Размер", "Обычный", "По размеру страницы",  // 90
    "Растянуть на страницу", "Заданный размер", "Гамма-коррекция", "Значение", "Настройка печати", "Левое поле", "Верхнее поле", "Правое поле", "Нижнее поле", "Положение/размер",  // 100
    "Вверху слева", "Вверху по центру", "Вверху справа", "По центру слева", "По центру", "По центру справа", "Внизу слева", "Внизу по центру", "Внизу справа", "Закрыть",  // 110
    "Применить", "Единицы измерения", "Единицы", "Степень", "Все изображения", "Video for Windows", "Файл", "Память", "Автоматически обновляет просмотр с выбранными изменениями", "Печатать все",  // 120
    "Печатать выбранные", "Распространённые графические файлы", "Все файлы", "HSV", "HSL", "RGB", "FFT", "Резкость", "Каналы", "пиксел",  // 130
    "кадров", "бит", "байт", "точек/дюйм", "КБ", "Вписать",  // 140
};

// The Polish row has no word 123.
const TIEWordList IEPolishWords = {
    "Podgląd", "Oryginał", "Wynik", "OK", "Anuluj", "Zablokuj podgląd", "Kopiuj wynik do oryginału", "Kontrast", "Jasność", "Barwa",  // 0
    "Nasycenie", "Wartość", "Kolor bazowy", "Nowy kolor", "Luminancja", "Czerwony", "Zielony", "Niebieski", "Wartości filtra", "Ustawienia",  // 10
    "Dzielnik", "Wczytaj", "Zapisz", "Wyrównanie", "Próg", "Wyrównaj", "Histogram", "Szary", "Światło", "Lewo",  // 20
    "Góra", "Szerokość", "Wysokość", "Kolor", "Ilość oryginalnego obrazu", "Soczewka", "Załamanie", "Podgląd parametrów", "Jakość", "Metoda DCT",  // 30
    "Współczynnik wygładzania", "Skala szarości", "Optymalny Huffman", "Rozmiar oryginalny", "Rozmiar po kompresji", "Zaawansowane", "Progresywny", "Kompresja", "Indeks obrazu", "Fotometria",  // 40
    "Informacje o zeskanowanym dokumencie", "Nazwa", "Opis", "Nazwa strony", "Numer strony", "z", "Poz. pozioma (cale)", "Poz. pionowa (cale)", "Kolory", "Przezroczysty",  // 50
    "Kolor przezroczysty", "Z przeplotem", "Tło", "Poz. pozioma", "Poz. pionowa", "Opóźnienie", "Filtr", "Fala", "Amplituda", "Długość fali",  // 60
    "Faza", "Odbijający", "Filtr użytkownika", "Filtry morfologiczne", "Rozmiar okna", "Maksimum", "Minimum", "Otwarcie", "Domknięcie", "Obróć",  // 70
    "Odwróć", "Poziomo", "Pionowo", "Obraz w dziedzinie częstotliwości", "Zaznacz obszar do oczyszczenia", "Wyczyść", "Resetuj", "Animuj", "Wczytaj filtr", "Zapisz filtr",  // 80
    "Mapa wypukłości", "Drukuj", "Marginesy", "cale", "Prawo", "Dół", "Położenie", "Rozmiar", "Normalny", "Dopasuj do strony",  // 90
    "Rozciągnij na stronę", "Podany rozmiar", "Korekcja gamma", "Wartość", "Ustawienia wydruku", "Lewy margines", "Górny margines", "Prawy margines", "Dolny margines", "Położenie/rozmiar",  // 100
    "Lewy górny", "Środek u góry", "Prawy górny", "Środek z lewej", "Środek", "Środek z prawej", "Lewy dolny", "Środek u dołu", "Prawy dolny", "Zamknij",  // 110
    "Zastosuj", "Jednostki miary", "Jednostki", nullptr, "Wszystkie obrazy", "Video for Windows", "Plik", "Pamięć", "Automatycznie odświeża podgląd po wybranych zmianach", "Drukuj wszystko",  // 120
    "Drukuj zaznaczone", "Popularne pliki graficzne", "Wszystkie pliki", "HSV", "HSL", "RGB", "FFT", "Wyostrz", "Kanały", "piksel",  // 130
    "klatek", "bit", "bajt", "dpi", "KB", "Dopasuj",  // 140
};

const TIEWordList IECzechWords = {
    "Náhled", "Originál", "Výsledek", "OK", "Storno", "Zamknout náhled", "Kopírovat výsledek do originálu", "Kontrast", "Jas", "Odstín",  // 0
    "Sytost", "Hodnota", "Základní barva", "Nová barva", "Světlost", "Červená", "Zelená", "Modrá", "Hodnoty filtru", "Předvolby",  // 10
    "Dělitel", "Načíst", "Uložit", "Vyrovnání", "Práh", "Vyrovnat", "Histogram", "Šedá", "Světlo", "Vlevo",  // 20
    "Nahoře", "Šířka", "Výška", "Barva", "Množství původního obrázku", "Čočka", "Lom", "Náhled parametrů", "Kvalita", "Metoda DCT",  // 30
    "Faktor vyhlazení", "Stupně šedi", "Optimální Huffman", "Původní velikost", "Komprimovaná velikost", "Rozšířené", "Progresivní", "Komprese", "Index obrázku", "Fotometrie",  // 40
    "Údaje o naskenovaném dokumentu", "Název", "Popis", "Název stránky", "Číslo stránky", "z", "Vodor. poloha (palce)", "Svislá poloha (palce)", "Barvy", "Průhledný",  // 50
    "Průhledná barva", "Prokládaný", "Pozadí", "Vodor. poloha", "Svislá poloha", "Zpoždění", "Filtr", "Vlna", "Amplituda", "Vlnová délka",  // 60
    "Fáze", "Odrazivý", "Uživatelský filtr", "Morfologické filtry", "Velikost okna", "Maximum", "Minimum", "Otevření", "Uzavření", "Otočit",  // 70
    "Převrátit", "Vodorovně", "Svisle", "Obraz ve frekvenční oblasti", "Vyberte oblast k vyčištění", "Vymazat", "Obnovit", "Animovat", "Načíst filtr", "Uložit filtr",  // 80
    "Reliéfní mapa", "Tisk", "Okraje", "palce", "Vpravo", "Dole", "Poloha", "Velikost", "Normální", "Přizpůsobit stránce",  // 90
    "Roztáhnout na stránku", "Zadaná velikost", "Korekce gama", "Hodnota", "Nastavení tisku", "Levý okraj", "Horní okraj", "Pravý okraj", "Dolní okraj", "Umístění/velikost",  // 100
    "Vlevo nahoře", "Uprostřed nahoře", "Vpravo nahoře", "Vlevo uprostřed", "Uprostřed", "Vpravo uprostřed", "Vlevo dole", "Uprostřed dole", "Vpravo dole", "Zavřít",  // 110
    "Použít", "Měrné jednotky", "Jednotky", "Poměr", "Všechny obrázky", "Video for Windows", "Soubor", "Paměť", "Automaticky aktualizuje náhled podle zvolených změn", "Tisknout vše",  // 120
    "Tisknout vybrané", "Běžné grafické soubory", "Všechny soubory", "HSV", "HSL", "RGB", "FFT", "Zaostřit", "Kanály", "pixel",  // 130
    "snímků", "bit", "bajt", "dpi", "kB", "Přizpůsobit",  // 140
};

const TIEWordList IETurkishWords = {
    "Önizleme", "Orijinal", "Sonuç", "Tamam", "İptal", "Önizlemeyi kilitle", "Sonucu orijinale kopyala", "Karşıtlık", "Parlaklık", "Renk tonu",  // 0
    "Doygunluk", "Değer", "Temel renk", "Yeni renk", "Işıklılık", "Kırmızı", "Yeşil", "Mavi", "Filtre değerleri", "Hazır ayarlar",  // 10
    "Bölen", "Yükle", "Kaydet", "Eşitleme", "Eşik", "Eşitle", "Histogram", "Gri", "Işık", "Sol",  // 20
    "Üst", "Genişlik", "Yükseklik", "Renk", "Orijinal görüntü miktarı", "Lens", "Kırılma", "Parametre önizlemesi", "Kalite", "DCT yöntemi",  // 30
    "Yumuşatma katsayısı", "Gri tonlama", "En iyi Huffman", "Orijinal boyut", "Sıkıştırılmış boyut", "Gelişmiş", "Aşamalı", "Sıkıştırma", "Görüntü dizini", "Fotometrik",  // 40
    "Taranan belge bilgisi", "Ad", "Açıklama", "Sayfa adı", "Sayfa numarası", "/", "Yatay konum (inç)", "Dikey konum (inç)", "Renkler", "Saydam",  // 50
    "Saydam renk", "Taramalı", "Arka plan", "Yatay konum", "Dikey konum", "Gecikme süresi", "Filtre", "Dalga", "Genlik", "Dalga boyu",  // 60
    "Faz", "Yansıtıcı", "Kullanıcı filtresi", "Morfolojik filtreler", "Pencere boyutu", "En büyük", "En küçük", "Açma", "Kapama", "Döndür",  // 70
    "Çevir", "Yatay", "Dikey", "Frekans alanı görüntüsü", "Temizlenecek bölgeyi seçin", "Temizle", "Sıfırla", "Canlandır", "Filtre yükle", "Filtre kaydet",  // 80
    "Kabartma haritası", "Yazdır", "Kenar boşlukları", "inç", "Sağ", "Alt", "Konum", "Boyut", "Normal", "Sayfaya sığdır",  // 90
    "Sayfaya uzat", "Belirtilen boyut", "Gama düzeltmesi", "Değer", "Yazdırma ayarları", "Sol kenar boşluğu", "Üst kenar boşluğu", "Sağ kenar boşluğu", "Alt kenar boşluğu", "Konum/boyut",  // 100
    "Sol üst", "Orta üst", "Sağ üst", "Sol orta", "Orta", "Sağ orta", "Sol alt", "Orta alt", "Sağ alt", "Kapat",  // 110
    "Uygula", "Ölçü birimleri", "Birimler", "Oran", "Tüm grafikler", "Video for Windows", "Dosya", "Bellek", "Önizlemenizi seçtiğiniz değişikliklerle otomatik olarak günceller", "Tümünü yazdır",  // 120
    "Seçilenleri yazdır", "Yaygın grafik dosyaları", "Tüm dosyalar", "HSV", "HSL", "RGB", "FFT", "Keskinleştir", "Kanallar", "piksel",  // 130
    "kare", "bit", "bayt", "dpi", "KB", "Sığdır",  // 140
};

const TIEWordList IEHungarianWords = {
    "Előnézet", "Eredeti", "Eredmény", "OK", "Mégsem", "Előnézet rögzítése", "Eredmény másolása az eredetibe", "Kontraszt", "Fényerő", "Színárnyalat",  // 0
    "Telítettség", "Érték", "Alapszín", "Új szín", "Fénysűrűség", "Vörös", "Zöld", "Kék", "Szűrőértékek", "Előbeállítások",  // 10
    "Osztó", "Betöltés", "Mentés", "Kiegyenlítés", "Küszöb", "Kiegyenlít", "Hisztogram", "Szürke", "Fény", "Bal",  // 20
    "Felső", "Szélesség", "Magasság", "Szín", "Eredeti kép mennyisége", "Lencse", "Fénytörés", "Paraméterek előnézete", "Minőség", "DCT módszer",  // 30
    "Simítási tényező", "Szürkeárnyalat", "Optimális Huffman", "Eredeti méret", "Tömörített méret", "Speciális", "Progresszív", "Tömörítés", "Képindex", "Fotometria",  // 40
    "Beolvasott dokumentum adatai", "Név", "Leírás", "Oldal neve", "Oldalszám", "/", "Vízsz. pozíció (hüvelyk)", "Függ. pozíció (hüvelyk)", "Színek", "Átlátszó",  // 50
    "Átlátszó szín", "Váltottsoros", "Háttér", "Vízsz. pozíció", "Függ. pozíció", "Késleltetés", "Szűrő", "Hullám", "Amplitúdó", "Hullámhossz",  // 60
    "Fázis", "Tükröző", "Felhasználói szűrő", "Morfológiai szűrők", "Ablakméret", "Maximum", "Minimum", "Nyitás", "Zárás", "Forgatás",  // 70
    "Tükrözés", "Vízszintes", "Függőleges", "Frekvenciatartománybeli kép", "Jelölje ki a tisztítandó területet", "Törlés", "Visszaállítás", "Animálás", "Szűrő betöltése", "Szűrő mentése",  // 80
    "Domborzati térkép", "Nyomtatás", "Margók", "hüvelyk", "Jobb", "Alsó", "Pozíció", "Méret", "Normál", "Oldalhoz igazítás",  // 90
    "Nyújtás az oldalra", "Megadott méret", "Gamma-korrekció", "Érték", "Nyomtatóbeállítás", "Bal margó", "Felső margó", "Jobb margó", "Alsó margó", "Hely/méret",  // 100
    "Bal felső", "Felső közép", "Jobb felső", "Bal közép", "Közép", "Jobb közép", "Bal alsó", "Alsó közép", "Jobb alsó", "Bezárás",  // 110
    "Alkalmaz", "Mértékegységek", "Egységek", "Arány", "Minden grafika", "Video for Windows", "Fájl", "Memória", "A kiválasztott módosításokkal automatikusan frissíti az előnézetet", "Összes nyomtatása",  // 120
    "Kijelöltek nyomtatása", "Gyakori grafikus fájlok", "Minden fájl", "HSV", "HSL", "RGB", "FFT", "Élesítés", "Csatornák", "képpont",  // 130
    "képkocka", "bit", "bájt", "dpi", "KB", "Igazítás",  // 140
};
// clang-format on
