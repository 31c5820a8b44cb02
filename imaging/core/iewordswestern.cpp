// Words of the languages written in the Latin alphabet of western Europe.
#include "imaging/core/iewordsrows.h"

// clang-format off
const TIEWordList IEEnglishWords = {
    "Preview", "Original", "Result", "OK", "Cancel", "Lock preview", "Copy Result to Original", "Contrast", "Brightness", "Hue",  // 0
    "Saturation", "Value", "Base color", "New color", "Luminosity", "Red", "Green", "Blue", "Filter values", "Presets",  // 10
    "Divisor", "Load", "Save", "Equalization", "Threshold", "Equalize", "Histogram", "Gray", "Light", "Left",  // 20
    "Top", "Width", "Height", "Color", "Original image quantity", "Lens", "Refraction", "Parameters Preview", "Quality", "DCT method",  // 30
    "Smoothing factor", "Gray scale", "Optimal Huffman", "Original size", "Compressed size", "Advanced", "Progressive", "Compression", "Image index", "Photometric",  // 40
    "Scanned document info", "Name", "Description", "Page name", "Page number", "of", "Horiz. Position (inch)", "Vert. Position (inch)", "Colors", "Transparent",  // 50
    "Transparent color", "Interlaced", "Background", "Horiz. Position", "Vert. Position", "Delay time", "Filter", "Wave", "Amplitude", "Wave length",  // 60
    "Phase", "Reflective", "User filter", "Morphing filters", "Window size", "Maximum", "Minimum", "Opening", "Closing", "Rotate",  // 70
    "Flip", "Horizontal", "Vertical", "Frequency domain image", "Select the region to clean", "Clear", "Reset", "Animate", "Load filter", "Save filter",  // 80
    "Bump map", "Print", "Margins", "inches", "Right", "Bottom", "Position", "Size", "Normal", "Fit to page",  // 90
    "Stretch to page", "Specified size", "Gamma correction", "Value", "Print Setup", "Left Margin", "Top Margin", "Right Margin", "Bottom Margin", "Location/size",  // 100
    "Top Left", "Top Center", "Top Right", "Center Left", "Center", "Center Right", "Bottom Left", "Bottom Center", "Bottom Right", "Close",  // 110
    "Apply", "Measure Units", "Units", "Rate", "All graphics", "Video for Windows", "File", "Mem", "Automatically updates your preview with the changes you have selected", "Print All",  // 120
    "Print Selected", "Common Graphic Files", "All Files", "HSV", "HSL", "RGB", "FFT", "Sharpen", "Channels", "pixel",  // 130
    "frames", "bit", "byte", "dpi", "KB", "Fit",  // 140
};

const TIEWordList IEItalianWords = {
    "Anteprima", "Originale", "Risultato", "OK", "Annulla", "Blocca anteprima", "Copia risultato su originale", "Contrasto", "Luminosità", "Tinta",  // 0
    "Saturazione", "Valore", "Colore base", "Nuovo colore", "Luminanza", "Rosso", "Verde", "Blu", "Valori filtro", "Predefiniti",  // 10
    "Divisore", "Carica", "Salva", "Equalizzazione", "Soglia", "Equalizza", "Istogramma", "Grigio", "Luce", "Sinistra",  // 20
    "Alto", "Larghezza", "Altezza", "Colore", "Quantità immagine originale", "Lente", "Rifrazione", "Anteprima parametri", "Qualità", "Metodo DCT",  // 30
    "Fattore di smussatura", "Scala di grigi", "Huffman ottimale", "Dimensione originale", "Dimensione compressa", "Avanzate", "Progressivo", "Compressione", "Indice immagine", "Fotometria",  // 40
    "Informazioni documento acquisito", "Nome", "Descrizione", "Nome pagina", "Numero pagina", "di", "Posizione orizz. (pollici)", "Posizione vert. (pollici)", "Colori", "Trasparente",  // 50
    "Colore trasparente", "Interlacciato", "Sfondo", "Posizione orizz.", "Posizione vert.", "Tempo di ritardo", "Filtro", "Onda", "Ampiezza", "Lunghezza d'onda",  // 60
    "Fase", "Riflettente", "Filtro utente", "Filtri morfologici", "Dimensione finestra", "Massimo", "Minimo", "Apertura", "Chiusura", "Ruota",  // 70
    "Capovolgi", "Orizzontale", "Verticale", "Immagine nel dominio della frequenza", "Seleziona la regione da pulire", "Cancella", "Ripristina", "Anima", "Carica filtro", "Salva filtro",  // 80
    "Mappa di rilievo", "Stampa", "Margini", "pollici", "Destra", "Basso", "Posizione", "Dimensione", "Normale", "Adatta alla pagina",  // 90
    "Estendi alla pagina", "Dimensione specificata", "Correzione gamma", "Valore", "Imposta stampante", "Margine sinistro", "Margine superiore", "Margine destro", "Margine inferiore", "Posizione/dimensione",  // 100
    "In alto a sinistra", "In alto al centro", "In alto a destra", "Al centro a sinistra", "Centro", "Al centro a destra", "In basso a sinistra", "In basso al centro", "In basso a destra", "Chiudi",  // 110
    "Applica", "Unità di misura", "Unità", "Rapporto", "Tutte le immagini", "Video for Windows", "File", "Mem", "Aggiorna automaticamente l'anteprima con le modifiche selezionate", "Stampa tutto",  // 120
    "Stampa selezionate", "File grafici comuni", "Tutti i file", "HSV", "HSL", "RGB", "FFT", "Nitidezza", "Canali", "pixel",  // 130
    "fotogrammi", "bit", "byte", "dpi", "KB", "Adatta",  // 140
};

const TIEWordList IEGermanWords = {
    "Vorschau", "Original", "Ergebnis", "OK", "Abbrechen", "Vorschau sperren", "Ergebnis ins Original kopieren", "Kontrast", "Helligkeit", "Farbton",  // 0
    "Sättigung", "Wert", "Grundfarbe", "Neue Farbe", "Leuchtkraft", "Rot", "Grün", "Blau", "Filterwerte", "Vorgaben",  // 10
    "Teiler", "Laden", "Speichern", "Ausgleich", "Schwellenwert", "Ausgleichen", "Histogramm", "Grau", "Licht", "Links",  // 20
    "Oben", "Breite", "Höhe", "Farbe", "Menge des Originalbildes", "Linse", "Brechung", "Parametervorschau", "Qualität", "DCT-Methode",  // 30
    "Glättungsfaktor", "Graustufen", "Optimaler Huffman", "Originalgröße", "Komprimierte Größe", "Erweitert", "Progressiv", "Komprimierung", "Bildindex", "Photometrie",  // 40
    "Angaben zum gescannten Dokument", "Name", "Beschreibung", "Seitenname", "Seitennummer", "von", "Horiz. Position (Zoll)", "Vert. Position (Zoll)", "Farben", "Transparent",  // 50
    "Transparente Farbe", "Interlaced", "Hintergrund", "Horiz. Position", "Vert. Position", "Verzögerung", "Filter", "Welle", "Amplitude", "Wellenlänge",  // 60
    "Phase", "Spiegelnd", "Benutzerfilter", "Morphologische Filter", "Fenstergröße", "Maximum", "Minimum", "Öffnen", "Schließen", "Drehen",  // 70
    "Spiegeln", "Horizontal", "Vertikal", "Bild im Frequenzbereich", "Den zu bereinigenden Bereich wählen", "Löschen", "Zurücksetzen", "Animieren", "Filter laden", "Filter speichern",  // 80
    "Relief", "Drucken", "Ränder", "Zoll", "Rechts", "Unten", "Position", "Größe", "Normal", "An Seite anpassen",  // 90
    "Auf Seite strecken", "Angegebene Größe", "Gammakorrektur", "Wert", "Druckeinrichtung", "Linker Rand", "Oberer Rand", "Rechter Rand", "Unterer Rand", "Lage/Größe",  // 100
    "Oben links", "Oben Mitte", "Oben rechts", "Mitte links", "Mitte", "Mitte rechts", "Unten links", "Unten Mitte", "Unten rechts", "Schließen",  // 110
    "Übernehmen", "Maßeinheiten", "Einheiten", "Rate", "Alle Grafiken", "Video for Windows", "Datei", "Speicher", "Aktualisiert die Vorschau automatisch mit den gewählten Änderungen", "Alle drucken",  // 120
    "Auswahl drucken", "Gängige Grafikdateien", "Alle Dateien", "HSV", "HSL", "RGB", "FFT", "Schärfen", "Kanäle", "Pixel",  // 130
    "Bilder", "Bit", "Byte", "dpi", "KB", "Einpassen",  // 140
};

const TIEWordList IESpanishWords = {
    "Vista Previa", "Original", "Resultado", "Aceptar", "Cancelar", "Bloquear vista previa", "Copiar resultado al original", "Contraste", "Brillo", "Tono",  // 0
    "Saturación", "Valor", "Color base", "Color nuevo", "Luminosidad", "Rojo", "Verde", "Azul", "Valores del filtro", "Predefinidos",  // 10
    "Divisor", "Cargar", "Guardar", "Ecualización", "Umbral", "Ecualizar", "Histograma", "Gris", "Luz", "Izquierda",  // 20
    "Arriba", "Ancho", "Alto", "Color", "Cantidad de imagen original", "Lentes", "Refracción", "Vista previa de parámetros", "Calidad", "Método DCT",  // 30
    "Factor de suavizado", "Escala de grises", "Huffman óptimo", "Tamaño original", "Tamaño comprimido", "Avanzado", "Progresivo", "Compresión", "Índice de imagen", "Fotometría",  // 40
    "Información del documento escaneado", "Nombre", "Descripción", "Nombre de página", "Número de página", "de", "Posición horiz. (pulgadas)", "Posición vert. (pulgadas)", "Colores", "Transparente",  // 50
    "Color transparente", "Entrelazado", "Fondo", "Posición horiz.", "Posición vert.", "Tiempo de retardo", "Filtro", "Onda", "Amplitud", "Longitud de onda",  // 60
    "Fase", "Reflectante", "Filtro de usuario", "Filtros morfológicos", "Tamaño de ventana", "Máximo", "Mínimo", "Apertura", "Cierre", "Girar",  // 70
    "Voltear", "Horizontal", "Vertical", "Imagen en el dominio de la frecuencia", "Seleccione la región a limpiar", "Borrar", "Restablecer", "Animar", "Cargar filtro", "Guardar filtro",  // 80
    "Mapa de relieve", "Imprimir", "Márgenes", "pulgadas", "Derecha", "Abajo", "Posición", "Tamaño", "Normal", "Ajustar a la página",  // 90
    "Estirar a la página", "Tamaño especificado", "Corrección gamma", "Valor", "Configurar impresión", "Margen izquierdo", "Margen superior", "Margen derecho", "Margen inferior", "Ubicación/tamaño",  // 100
    "Arriba a la izquierda", "Arriba al centro", "Arriba a la derecha", "Centro a la izquierda", "Centro", "Centro a la derecha", "Abajo a la izquierda", "Abajo al centro", "Abajo a la derecha", "Cerrar",  // 110
    "Aplicar", "Unidades de medida", "Unidades", "Tasa", "Todos los gráficos", "Video for Windows", "Archivo", "Mem", "Actualiza automáticamente la vista previa con los cambios seleccionados", "Imprimir todo",  // 120
    "Imprimir selección", "Archivos gráficos comunes", "Todos los archivos", "HSV", "HSL", "RGB", "FFT", "Enfocar", "Canales", "píxel",  // 130
    "fotogramas", "bit", "byte", "ppp", "KB", "Ajustar",  // 140
};

const TIEWordList IEFrenchWords = {
    "Prévisualisation", "Original", "Résultat", "Ok", "Annuler", "Verrouiller l'aperçu", "Copier le résultat dans l'original", "Contraste", "Luminosité", "Teinte",  // 0
    "Saturation", "Valeur", "Couleur de base", "Nouvelle couleur", "Luminance", "Rouge", "Vert", "Bleu", "Valeurs du filtre", "Préréglages",  // 10
    "Diviseur", "Charger", "Enregistrer", "Égalisation", "Seuil", "Égaliser", "Histogramme", "Gris", "Lumière", "Gauche",  // 20
    "Haut", "Largeur", "Hauteur", "Couleur", "Quantité de l'image originale", "Loupe", "Réfraction", "Aperçu des paramètres", "Qualité", "Méthode DCT",  // 30
    "Facteur de lissage", "Niveaux de gris", "Huffman optimal", "Taille originale", "Taille compressée", "Avancé", "Progressif", "Compression", "Index de l'image", "Photométrie",  // 40
    "Infos sur le document numérisé", "Nom", "Description", "Nom de la page", "Numéro de page", "sur", "Position horiz. (pouces)", "Position vert. (pouces)", "Couleurs", "Transparent",  // 50
    "Couleur transparente", "Entrelacé", "Arrière-plan", "Position horiz.", "Position vert.", "Délai", "Filtre", "Onde", "Amplitude", "Longueur d'onde",  // 60
    "Phase", "Réfléchissant", "Filtre utilisateur", "Filtres morphologiques", "Taille de la fenêtre", "Maximum", "Minimum", "Ouverture", "Fermeture", "Rotation",  // 70
    "Retourner", "Horizontal", "Vertical", "Image dans le domaine fréquentiel", "Sélectionnez la zone à nettoyer", "Effacer", "Réinitialiser", "Animer", "Charger un filtre", "Enregistrer le filtre",  // 80
    "Placage de relief", "Imprimer", "Marges", "pouces", "Droite", "Bas", "Position", "Taille", "Normal", "Ajuster à la page",  // 90
    "Étirer à la page", "Taille spécifiée", "Correction gamma", "Valeur", "Configuration de l'impression", "Marge gauche", "Marge haute", "Marge droite", "Marge basse", "Emplacement/taille",  // 100
    "En haut à gauche", "En haut au centre", "En haut à droite", "Au centre à gauche", "Centre", "Au centre à droite", "En bas à gauche", "En bas au centre", "En bas à droite", "Fermer",  // 110
    "Appliquer", "Unités de mesure", "Unités", "Taux", "Tous les graphiques", "Video for Windows", "Fichier", "Mém", "Met à jour automatiquement l'aperçu avec les modifications choisies", "Tout imprimer",  // 120
    "Imprimer la sélection", "Fichiers graphiques courants", "Tous les fichiers", "TSV", "TSL", "RVB", "FFT", "Netteté", "Canaux", "pixel",  // 130
    "images", "bit", "octet", "ppp", "Ko", "Ajuster",  // 140
};

const TIEWordList IEPortugueseWords = {
    "Visualizar", "Original", "Resultado", "OK", "Cancelar", "Bloquear visualização", "Copiar resultado para o original", "Contraste", "Brilho", "Matiz",  // 0
    "Saturação", "Valor", "Cor base", "Nova cor", "Luminosidade", "Vermelho", "Verde", "Azul", "Valores do filtro", "Predefinições",  // 10
    "Divisor", "Carregar", "Salvar", "Equalização", "Limiar", "Equalizar", "Histograma", "Cinza", "Luz", "Esquerda",  // 20
    "Topo", "Largura", "Altura", "Cor", "Quantidade da imagem original", "Lentes", "Refração", "Visualizar parâmetros", "Qualidade", "Método DCT",  // 30
    "Fator de suavização", "Escala de cinza", "Huffman otimizado", "Tamanho original", "Tamanho comprimido", "Avançado", "Progressivo", "Compressão", "Índice da imagem", "Fotometria",  // 40
    "Informações do documento digitalizado", "Nome", "Descrição", "Nome da página", "Número da página", "de", "Posição horiz. (polegadas)", "Posição vert. (polegadas)", "Cores", "Transparente",  // 50
    "Cor transparente", "Entrelaçado", "Fundo", "Posição horiz.", "Posição vert.", "Tempo de espera", "Filtro", "Onda", "Amplitude", "Comprimento de onda",  // 60
    "Fase", "Reflexivo", "Filtro do usuário", "Filtros morfológicos", "Tamanho da janela", "Máximo", "Mínimo", "Abertura", "Fechamento", "Girar",  // 70
    "Inverter", "Horizontal", "Vertical", "Imagem no domínio da frequência", "Selecione a região a limpar", "Limpar", "Restaurar", "Animar", "Carregar filtro", "Salvar filtro",  // 80
    "Mapa de relevo", "Imprimir", "Margens", "polegadas", "Direita", "Base", "Posição", "Tamanho", "Normal", "Ajustar à página",  // 90
    "Esticar à página", "Tamanho especificado", "Correção gama", "Valor", "Configurar impressão", "Margem esquerda", "Margem superior", "Margem direita", "Margem inferior", "Local/tamanho",  // 100
    "Superior esquerdo", "Superior central", "Superior direito", "Centro esquerdo", "Centro", "Centro direito", "Inferior esquerdo", "Inferior central", "Inferior direito", "Fechar",  // 110
    "Aplicar", "Unidades de medida", "Unidades", "Taxa", "Todos os gráficos", "Video for Windows", "Arquivo", "Mem", "Atualiza automaticamente a visualização com as alterações selecionadas", "Imprimir tudo",  // 120
    "Imprimir selecionadas", "Arquivos gráficos comuns", "Todos os arquivos", "HSV", "HSL", "RGB", "FFT", "Nitidez", "Canais", "pixel",  // 130
    "quadros", "bit", "byte", "dpi", "KB", "Ajustar",  // 140
};

const TIEWordList IEDutchWords = {
    "Voorbeeld", "Origineel", "Resultaat", "OK", "Annuleren", "Voorbeeld vergrendelen", "Resultaat naar origineel kopiëren", "Contrast", "Helderheid", "Tint",  // 0
    "Verzadiging", "Waarde", "Basiskleur", "Nieuwe kleur", "Lichtsterkte", "Rood", "Groen", "Blauw", "Filterwaarden", "Voorinstellingen",  // 10
    "Deler", "Laden", "Opslaan", "Egalisatie", "Drempel", "Egaliseren", "Histogram", "Grijs", "Licht", "Links",  // 20
    "Boven", "Breedte", "Hoogte", "Kleur", "Hoeveelheid origineel beeld", "Lens", "Breking", "Voorbeeld parameters", "Kwaliteit", "DCT-methode",  // 30
    "Vereffeningsfactor", "Grijstinten", "Optimale Huffman", "Oorspronkelijke grootte", "Gecomprimeerde grootte", "Geavanceerd", "Progressief", "Compressie", "Afbeeldingsindex", "Fotometrisch",  // 40
    "Gegevens gescand document", "Naam", "Beschrijving", "Paginanaam", "Paginanummer", "van", "Horiz. positie (inch)", "Vert. positie (inch)", "Kleuren", "Transparant",  // 50
    "Transparante kleur", "Interlaced", "Achtergrond", "Horiz. positie", "Vert. positie", "Vertraging", "Filter", "Golf", "Amplitude", "Golflengte",  // 60
    "Fase", "Reflecterend", "Gebruikersfilter", "Morfologische filters", "Venstergrootte", "Maximum", "Minimum", "Opening", "Sluiting", "Draaien",  // 70
    "Spiegelen", "Horizontaal", "Verticaal", "Beeld in het frequentiedomein", "Selecteer het te reinigen gebied", "Wissen", "Herstellen", "Animeren", "Filter laden", "Filter opslaan",  // 80
    "Reliëfkaart", "Afdrukken", "Marges", "inch", "Rechts", "Onder", "Positie", "Grootte", "Normaal", "Passend op pagina",  // 90
    "Uitrekken tot pagina", "Opgegeven grootte", "Gammacorrectie", "Waarde", "Afdrukinstelling", "Linkermarge", "Bovenmarge", "Rechtermarge", "Ondermarge", "Plaats/grootte",  // 100
    "Linksboven", "Midden boven", "Rechtsboven", "Midden links", "Midden", "Midden rechts", "Linksonder", "Midden onder", "Rechtsonder", "Sluiten",  // 110
    "Toepassen", "Maateenheden", "Eenheden", "Snelheid", "Alle afbeeldingen", "Video for Windows", "Bestand", "Geh", "Werkt het voorbeeld automatisch bij met de gekozen wijzigingen", "Alles afdrukken",  // 120
    "Selectie afdrukken", "Gangbare afbeeldingsbestanden", "Alle bestanden", "HSV", "HSL", "RGB", "FFT", "Verscherpen", "Kanalen", "pixel",  // 130
    "frames", "bit", "byte", "dpi", "KB", "Passend",  // 140
};

const TIEWordList IESwedishWords = {
    "Granska", "Original", "Resultat", "OK", "Avbryt", "Lås förhandsvisning", "Kopiera resultatet till originalet", "Kontrast", "Ljusstyrka", "Nyans",  // 0
    "Mättnad", "Värde", "Grundfärg", "Ny färg", "Luminans", "Röd", "Grön", "Blå", "Filtervärden", "Förinställningar",  // 10
    "Delare", "Öppna", "Spara", "Utjämning", "Tröskel", "Utjämna", "Histogram", "Grå", "Ljus", "Vänster",  // 20
    "Överkant", "Bredd", "Höjd", "Färg", "Originalbildens mängd", "Lins", "Brytning", "Förhandsgranska parametrar", "Kvalitet", "DCT-metod",  // 30
    "Utjämningsfaktor", "Gråskala", "Optimal Huffman", "Originalstorlek", "Komprimerad storlek", "Avancerat", "Progressiv", "Komprimering", "Bildindex", "Fotometrisk",  // 40
    "Information om skannat dokument", "Namn", "Beskrivning", "Sidnamn", "Sidnummer", "av", "Horis. position (tum)", "Vert. position (tum)", "Färger", "Genomskinlig",  // 50
    "Genomskinlig färg", "Sammanflätad", "Bakgrund", "Horis. position", "Vert. position", "Fördröjning", "Filter", "Våg", "Amplitud", "Våglängd",  // 60
    "Fas", "Reflekterande", "Användarfilter", "Morfologiska filter", "Fönsterstorlek", "Maximum", "Minimum", "Öppning", "Stängning", "Rotera",  // 70
    "Vänd", "Horisontell", "Vertikal", "Bild i frekvensplanet", "Välj området som ska rensas", "Rensa", "Återställ", "Animera", "Öppna filter", "Spara filter",  // 80
    "Reliefkarta", "Skriv ut", "Marginaler", "tum", "Höger", "Nederkant", "Position", "Storlek", "Normal", "Anpassa till sidan",  // 90
    "Sträck ut till sidan", "Angiven storlek", "Gammakorrigering", "Värde", "Utskriftsformat", "Vänstermarginal", "Övre marginal", "Högermarginal", "Nedre marginal", "Plats/storlek",  // 100
    "Övre vänster", "Övre mitten", "Övre höger", "Mitten vänster", "Mitten", "Mitten höger", "Nedre vänster", "Nedre mitten", "Nedre höger", "Stäng",  // 110
    "Verkställ", "Måttenheter", "Enheter", "Takt", "All grafik", "Video for Windows", "Fil", "Minne", "Uppdaterar förhandsvisningen automatiskt med de ändringar du valt", "Skriv ut alla",  // 120
    "Skriv ut markerade", "Vanliga grafikfiler", "Alla filer", "HSV", "HSL", "RGB", "FFT", "Skärpa", "Kanaler", "bildpunkt",  // 130
    "bildrutor", "bit", "byte", "dpi", "kB", "Anpassa",  // 140
};

const TIEWordList IEFinnishWords = {
    "Esikatselu", "Alkuperäinen", "Tulos", "OK", "Peruuta", "Lukitse esikatselu", "Kopioi tulos alkuperäiseen", "Kontrasti", "Kirkkaus", "Sävy",  // 0
    "Kylläisyys", "Arvo", "Perusväri", "Uusi väri", "Valoisuus", "Punainen", "Vihreä", "Sininen", "Suodattimen arvot", "Esiasetukset",  // 10
    "Jakaja", "Lataa", "Tallenna", "Tasoitus", "Kynnys", "Tasoita", "Histogrammi", "Harmaa", "Valo", "Vasen",  // 20
    "Ylä", "Leveys", "Korkeus", "Väri", "Alkuperäisen kuvan määrä", "Linssi", "Taittuminen", "Parametrien esikatselu", "Laatu", "DCT-menetelmä",  // 30
    "Pehmennyskerroin", "Harmaasävy", "Optimaalinen Huffman", "Alkuperäinen koko", "Pakattu koko", "Lisäasetukset", "Progressiivinen", "Pakkaus", "Kuvan indeksi", "Fotometrinen",  // 40
    "Skannatun asiakirjan tiedot", "Nimi", "Kuvaus", "Sivun nimi", "Sivunumero", "/", "Vaakasijainti (tuumaa)", "Pystysijainti (tuumaa)", "Värit", "Läpinäkyvä",  // 50
    "Läpinäkyvä väri", "Lomitettu", "Tausta", "Vaakasijainti", "Pystysijainti", "Viive", "Suodatin", "Aalto", "Amplitudi", "Aallonpituus",  // 60
    "Vaihe", "Heijastava", "Käyttäjän suodatin", "Morfologiset suodattimet", "Ikkunan koko", "Maksimi", "Minimi", "Avaus", "Sulkeminen", "Kierrä",  // 70
    "Käännä", "Vaaka", "Pysty", "Taajuustason kuva", "Valitse puhdistettava alue", "Tyhjennä", "Palauta", "Animoi", "Lataa suodatin", "Tallenna suodatin",  // 80
    "Kohokartta", "Tulosta", "Marginaalit", "tuumaa", "Oikea", "Ala", "Sijainti", "Koko", "Normaali", "Sovita sivulle",  // 90
    "Venytä sivulle", "Määritetty koko", "Gammakorjaus", "Arvo", "Tulostusasetukset", "Vasen marginaali", "Ylämarginaali", "Oikea marginaali", "Alamarginaali", "Sijainti/koko",  // 100
    "Ylhäällä vasemmalla", "Ylhäällä keskellä", "Ylhäällä oikealla", "Keskellä vasemmalla", "Keskellä", "Keskellä oikealla", "Alhaalla vasemmalla", "Alhaalla keskellä", "Alhaalla oikealla", "Sulje",  // 110
    "Käytä", "Mittayksiköt", "Yksiköt", "Nopeus", "Kaikki kuvat", "Video for Windows", "Tiedosto", "Muisti", "Päivittää esikatselun automaattisesti valitsemillasi muutoksilla", "Tulosta kaikki",  // 120
    "Tulosta valitut", "Yleiset kuvatiedostot", "Kaikki tiedostot", "HSV", "HSL", "RGB", "FFT", "Terävöitä", "Kanavat", "pikseli",  // 130
    "kuvaa", "bitti", "tavu", "dpi", "kt", "Sovita",  // 140
};

const TIEWordList IEDanishWords = {
    "Visning", "Original", "Resultat", "OK", "Annuller", "Lås visning", "Kopiér resultat til original", "Kontrast", "Lysstyrke", "Nuance",  // 0
    "Mætning", "Værdi", "Grundfarve", "Ny farve", "Luminans", "Rød", "Grøn", "Blå", "Filterværdier", "Forudindstillinger",  // 10
    "Divisor", "Indlæs", "Gem", "Udjævning", "Tærskel", "Udjævn", "Histogram", "Grå", "Lys", "Venstre",  // 20
    "Top", "Bredde", "Højde", "Farve", "Originalbilledets mængde", "Linse", "Brydning", "Visning af parametre", "Kvalitet", "DCT-metode",  // 30
    "Udglatningsfaktor", "Gråtoner", "Optimal Huffman", "Original størrelse", "Komprimeret størrelse", "Avanceret", "Progressiv", "Komprimering", "Billedindeks", "Fotometrisk",  // 40
    "Oplysninger om scannet dokument", "Navn", "Beskrivelse", "Sidenavn", "Sidenummer", "af", "Vandret position (tommer)", "Lodret position (tommer)", "Farver", "Gennemsigtig",  // 50
    "Gennemsigtig farve", "Sammenflettet", "Baggrund", "Vandret position", "Lodret position", "Forsinkelse", "Filter", "Bølge", "Amplitude", "Bølgelængde",  // 60
    "Fase", "Reflekterende", "Brugerfilter", "Morfologiske filtre", "Vinduesstørrelse", "Maksimum", "Minimum", "Åbning", "Lukning", "Rotér",  // 70
    "Vend", "Vandret", "Lodret", "Billede i frekvensdomænet", "Vælg området, der skal renses", "Ryd", "Nulstil", "Animér", "Indlæs filter", "Gem filter",  // 80
    "Reliefkort", "Udskriv", "Margener", "tommer", "Højre", "Bund", "Placering", "Størrelse", "Normal", "Tilpas til siden",  // 90
    "Stræk til siden", "Angivet størrelse", "Gammakorrektion", "Værdi", "Udskriftsopsætning", "Venstre margen", "Topmargen", "Højre margen", "Bundmargen", "Placering/størrelse",  // 100
    "Øverst til venstre", "Øverst i midten", "Øverst til højre", "Midt til venstre", "Midt", "Midt til højre", "Nederst til venstre", "Nederst i midten", "Nederst til højre", "Luk",  // 110
    "Anvend", "Måleenheder", "Enheder", "Hastighed", "Al grafik", "Video for Windows", "Fil", "Hukommelse", "Opdaterer automatisk visningen med de ændringer, du har valgt", "Udskriv alle",  // 120
    "Udskriv markerede", "Almindelige grafikfiler", "Alle filer", "HSV", "HSL", "RGB", "FFT", "Skarphed", "Kanaler", "pixel",  // 130
    "billeder", "bit", "byte", "dpi", "KB", "Tilpas",  // 140
};
// clang-format on
