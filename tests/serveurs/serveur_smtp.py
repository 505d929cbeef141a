#!/usr/bin/python3
"""Serveur SMTP des tests d'intégration de Tessaron (aiosmtpd de Debian).

  /usr/bin/python3 serveur_smtp.py DOSSIER

Écoute sur 127.0.0.1 :
  - 42525 : SMTP en clair, AUTH PLAIN/LOGIN proposé sans TLS mais facultatif ;
  - 42587 : STARTTLS avec le certificat de DOSSIER/tls, obligatoire avant
            MAIL FROM ; AUTH proposé une fois la session chiffrée.

Réponses à RCPT TO selon la partie locale du destinataire :
  inconnu*  -> 550 5.1.1 Utilisateur inconnu
  occupe*   -> 450 4.2.0 Essayez plus tard
  mauvais*  -> 553 5.1.3 Adresse mal formee
  autre     -> 250

Chaque message reçu est écrit dans DOSSIER/smtp/<horodatage>-<compteur>.eml,
avec l'enveloppe dans le .json du même nom. Le .json est écrit avant le .eml
et chacun par renommage : quand le .eml apparaît, les deux sont complets.
S'arrête proprement sur SIGTERM ou SIGINT.
"""

import itertools
import json
import logging
import os
import signal
import ssl
import sys
import threading
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

HOTE = "127.0.0.1"
PORT_CLAIR = 42525
PORT_STARTTLS = 42587
UTILISATEUR = b"smtp-u"
MOT_DE_PASSE = b"mdp-smtp"


def authentifier(serveur, session, enveloppe, mecanisme, donnees):
    """Accepte uniquement smtp-u / mdp-smtp (PLAIN ou LOGIN)."""
    valide = (
        isinstance(donnees, LoginPassword)
        and donnees.login == UTILISATEUR
        and donnees.password == MOT_DE_PASSE
    )
    if not valide:
        # handled=False : c'est aiosmtpd qui répond « 535 » au client.
        return AuthResult(success=False, handled=False)
    return AuthResult(success=True, auth_data=donnees)


def partie_locale(adresse):
    return adresse.rsplit("@", 1)[0].lower()


def ecrire_atomique(chemin, contenu):
    temporaire = chemin + ".tmp"
    with open(temporaire, "wb") as f:
        f.write(contenu)
    os.replace(temporaire, chemin)


class Destinataire:
    """Gestionnaire aiosmtpd : tri des destinataires et dépôt des messages."""

    def __init__(self, dossier):
        self.dossier = dossier
        self.compteur = itertools.count(1)
        self.verrou = threading.Lock()

    async def handle_RCPT(self, serveur, session, enveloppe, adresse, options):
        locale = partie_locale(adresse)
        if locale.startswith("inconnu"):
            return "550 5.1.1 Utilisateur inconnu"
        if locale.startswith("occupe"):
            return "450 4.2.0 Essayez plus tard"
        if locale.startswith("mauvais"):
            return "553 5.1.3 Adresse mal formee"
        enveloppe.rcpt_tos.append(adresse)
        return "250 2.1.5 OK"

    async def handle_DATA(self, serveur, session, enveloppe):
        base = os.path.join(self.dossier, self.nom_suivant())
        description = {
            "mail_from": enveloppe.mail_from,
            "rcpt_tos": enveloppe.rcpt_tos,
            "mail_options": enveloppe.mail_options,
            "authentifie": session.auth_data.login.decode("utf-8", "replace")
            if session.authenticated
            else None,
            "tls": session.ssl is not None,
            "port": serveur.transport.get_extra_info("sockname")[1],
        }
        ecrire_atomique(base + ".json", json.dumps(description, indent=2).encode("utf-8"))
        ecrire_atomique(base + ".eml", enveloppe.original_content)
        logging.info("message déposé : %s.eml", base)
        return "250 2.0.0 Message accepte"

    def nom_suivant(self):
        with self.verrou:
            numero = next(self.compteur)
        return time.strftime("%Y%m%d-%H%M%S") + f"-{numero:06d}"


def contexte_tls(dossier):
    contexte = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    contexte.load_cert_chain(
        os.path.join(dossier, "tls", "serveur.pem"),
        os.path.join(dossier, "tls", "serveur.key"),
    )
    return contexte


def controleurs(dossier):
    gestionnaire = Destinataire(os.path.join(dossier, "smtp"))
    commun = dict(hostname=HOTE, server_hostname="localhost", authenticator=authentifier)
    clair = Controller(gestionnaire, port=PORT_CLAIR, auth_require_tls=False, **commun)
    chiffre = Controller(
        gestionnaire,
        port=PORT_STARTTLS,
        tls_context=contexte_tls(dossier),
        require_starttls=True,
        **commun,
    )
    return [clair, chiffre]


def main():
    if len(sys.argv) != 2:
        print("usage : serveur_smtp.py DOSSIER", file=sys.stderr)
        return 2
    dossier = os.path.abspath(sys.argv[1])
    logging.basicConfig(level=logging.INFO, format="%(asctime)s %(name)s %(levelname)s %(message)s")
    os.makedirs(os.path.join(dossier, "smtp"), exist_ok=True)

    arret = threading.Event()
    for signal_arret in (signal.SIGTERM, signal.SIGINT):
        signal.signal(signal_arret, lambda *_: arret.set())

    demarres = []
    try:
        for controleur in controleurs(dossier):
            controleur.start()
            demarres.append(controleur)
        logging.info("serveur SMTP prêt sur %s:%d et %s:%d", HOTE, PORT_CLAIR, HOTE, PORT_STARTTLS)
        arret.wait()
    finally:
        for controleur in demarres:
            controleur.stop()
    logging.info("serveur SMTP arrêté")
    return 0


if __name__ == "__main__":
    sys.exit(main())
