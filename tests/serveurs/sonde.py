#!/usr/bin/python3
"""Sondes des serveurs de test, appelées par scripts/serveurs/demarrer.

  sonde.py libres ADRESSE...
      ADRESSE = tcp:HOTE:PORT ou udp:HOTE:PORT. Essaie de s'attacher à chaque
      adresse ; affiche celles qui sont refusées (déjà prises, ou adresse
      absente) avec la raison, et sort en 1 s'il y en a.

  sonde.py prets [--delai S] [--processus NOM=PID]... NOM=tcp:HOTE:PORT|NOM=dns:HOTE:PORT...
      Interroge chaque service à intervalles courts jusqu'à ce que tous
      répondent. Sort en 1 à l'échéance, ou dès qu'un processus surveillé
      meurt, après avoir affiché le nom des services en défaut.

Seule la bibliothèque standard est utilisée (pas de paquet en plus).
"""

import argparse
import os
import random
import socket
import struct
import sys
import time

INTERVALLE = 0.05


def decouper(adresse):
    """« tcp:127.0.0.1:41110 » -> ("tcp", "127.0.0.1", 41110)."""
    genre, hote, port = adresse.split(":")
    return genre, hote, int(port)


def refus_attache(genre, hote, port):
    """Message d'erreur si l'on ne peut pas s'attacher à l'adresse, sinon None."""
    type_socket = socket.SOCK_STREAM if genre == "tcp" else socket.SOCK_DGRAM
    with socket.socket(socket.AF_INET, type_socket) as s:
        if genre == "tcp":
            # Une connexion en TIME_WAIT ne compte pas comme prise. (En UDP,
            # SO_REUSEADDR permettrait au contraire de partager un port pris.)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            s.bind((hote, port))
        except OSError as erreur:
            return erreur.strerror
    return None


def tcp_pret(hote, port):
    try:
        with socket.create_connection((hote, port), timeout=0.2):
            return True
    except OSError:
        return False


def requete_mx(identifiant, nom):
    entete = struct.pack(">HHHHHH", identifiant, 0x0100, 1, 0, 0, 0)
    question = b"".join(bytes([len(e)]) + e.encode("ascii") for e in nom.split("."))
    return entete + question + b"\x00" + struct.pack(">HH", 15, 1)


def dns_pret(hote, port):
    """Vrai si le serveur répond NOERROR avec au moins un MX pour example.test."""
    identifiant = random.randrange(0x10000)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.settimeout(0.2)
        try:
            s.sendto(requete_mx(identifiant, "example.test"), (hote, port))
            reponse, _ = s.recvfrom(512)
        except OSError:
            return False
    if len(reponse) < 12:
        return False
    ident, drapeaux, _, nb_reponses, _, _ = struct.unpack(">HHHHHH", reponse[:12])
    return ident == identifiant and drapeaux & 0x8000 and drapeaux & 0x000F == 0 and nb_reponses > 0


def service_pret(genre, hote, port):
    return dns_pret(hote, port) if genre == "dns" else tcp_pret(hote, port)


def processus_vivant(pid):
    try:
        with open(f"/proc/{pid}/stat", encoding="ascii", errors="replace") as f:
            etat = f.read().rsplit(")", 1)[1].split()[0]
    except OSError:
        return False
    return etat not in ("Z", "X")


def libres(adresses):
    refus = [(a, refus_attache(*decouper(a))) for a in adresses]
    refus = [(a, message) for a, message in refus if message]
    for adresse, message in refus:
        print(f"{adresse} ({message})")
    return 1 if refus else 0


def prets(delai, processus, services):
    attendus = {}
    for service in services:
        nom, adresse = service.split("=", 1)
        attendus.setdefault(nom, []).append(decouper(adresse))
    surveilles = dict(p.split("=", 1) for p in processus)
    echeance = time.monotonic() + delai
    while True:
        attendus = {nom: [a for a in adr if not service_pret(*a)] for nom, adr in attendus.items()}
        attendus = {nom: adr for nom, adr in attendus.items() if adr}
        if not attendus:
            return 0
        morts = [nom for nom, pid in surveilles.items() if not processus_vivant(pid)]
        if morts or time.monotonic() >= echeance:
            for nom in sorted(set(attendus) | set(morts)):
                print(nom)
            return 1
        time.sleep(INTERVALLE)


def main():
    analyseur = argparse.ArgumentParser()
    commandes = analyseur.add_subparsers(dest="commande", required=True)
    cmd_libres = commandes.add_parser("libres")
    cmd_libres.add_argument("adresses", nargs="+")
    cmd_prets = commandes.add_parser("prets")
    cmd_prets.add_argument("--delai", type=float, default=20.0)
    cmd_prets.add_argument("--processus", action="append", default=[])
    cmd_prets.add_argument("services", nargs="+")
    args = analyseur.parse_args()
    if args.commande == "libres":
        return libres(args.adresses)
    return prets(args.delai, args.processus, args.services)


if __name__ == "__main__":
    sys.exit(main())
