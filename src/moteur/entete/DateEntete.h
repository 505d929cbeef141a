#pragma once
// Date d'un en-tête (« Tue, 8 Jan 2008 10:20:30 +0100 ») mise en forme pour l'affichage.
#include <string>
#include <string_view>

// "jj/mm/aaaa hh:mm:ss" : la date (jour, nom de mois anglais abrégé sans tenir compte de la
// casse, année — moins de 100 : 2000 ajouté), une espace et l'heure telle qu'elle est écrite
// (jusqu'à l'espace ou la virgule suivante ; le fuseau est ignoré). Le jour de la semaine,
// jusqu'à la première virgule, est sauté. Vide quand un élément manque, quand le mois est
// inconnu ou quand la date n'existe pas (31 février, jour 0, année hors de 1 à 9999).
std::string FormaterDateEntete(std::string_view date);
